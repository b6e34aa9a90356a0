// Backup and restore of 1 000 voice tags (a template and a recording each,
// about what a real tag occupies) through the document's commands folder.
#include "app/Document.h"
#include "app/TagBackup.h"
#include "platform/Convert.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Store {
    Store()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "ringwise-bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
        ::setenv("RINGWISE_REGISTRY", (path + "/registry.db").c_str(), 1);
        ::setenv("RINGWISE_CONTACTS", (path + "/contacts.vcf").c_str(), 1);
        std::filesystem::create_directories(path + "/commands");
        for (int i = 1; i <= 1000; ++i) {
            std::string name = path + "/commands/" + std::to_string(1000 + i).substr(1);
            std::ofstream(name + ".tag", std::ios::binary) << std::string(2400, 't');
            std::ofstream(name + ".wav", std::ios::binary) << std::string(30000, 'w');
        }
        document = std::make_unique<Document>(platform::from_utf8(path));
    }
    ~Store()
    {
        document.reset();
        std::filesystem::remove_all(path);
    }
    std::u16string wide(const std::string& relative) const
    {
        return platform::from_utf8(path + "/" + relative);
    }
    std::string path;
    std::unique_ptr<Document> document;
};

Store& store()
{
    static Store instance;
    return instance;
}

void BM_BackupThousandTags(benchmark::State& state)
{
    for (auto _ : state) {
        if (!backup_tags(store().wide("all.vcb")))
            state.SkipWithError("backup failed");
    }
    state.SetBytesProcessed(state.iterations() * 1000 * (2400 + 30000));
}
BENCHMARK(BM_BackupThousandTags)->Unit(benchmark::kMillisecond);

void BM_RestoreThousandTags(benchmark::State& state)
{
    if (!backup_tags(store().wide("all.vcb")))
        state.SkipWithError("backup failed");
    for (auto _ : state) {
        if (!restore_tags(store().wide("all.vcb")))
            state.SkipWithError("restore failed");
    }
    state.SetBytesProcessed(state.iterations() * 1000 * (2400 + 30000));
}
BENCHMARK(BM_RestoreThousandTags)->Unit(benchmark::kMillisecond);

} // namespace
