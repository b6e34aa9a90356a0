// Reading address books: many ordinary cards, and one card whose
// quoted-printable value runs over many soft line breaks.
#include "platform/contacts/ContactStore.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string address_book(int cards)
{
    std::string text;
    for (int i = 0; i < cards; ++i) {
        std::string n = std::to_string(i);
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + n + "\r\nN:Name" + n
            + ";First;;;\r\nFN:First Name" + n + "\r\nORG:Company\r\nTEL;TYPE=CELL:+1 555 " + n
            + "\r\nTEL;TYPE=WORK:+1 556 " + n + "\r\nNOTE:" + std::string(200, 'x')
            + "\r\nEND:VCARD\r\n";
    }
    return text;
}

void parse_address_book(benchmark::State& state)
{
    std::string text = address_book(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const platform::VCard& card : platform::parse_vcards(text))
            benchmark::DoNotOptimize(platform::contact_from_vcard(card));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(parse_address_book)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void parse_long_soft_broken_value(benchmark::State& state)
{
    std::string text = "BEGIN:VCARD\r\nFN;ENCODING=QUOTED-PRINTABLE:";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "ab=\r\n";
    text += "end\r\nEND:VCARD\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::parse_vcards(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(parse_long_soft_broken_value)
    ->Arg(10000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace
