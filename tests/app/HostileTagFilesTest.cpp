// Damaged files of stored tags through the real program: a tag whose
// template or recording is damaged never wins a recognition, and playing a
// recording that cannot be read plays nothing. A capture of faint noise is
// no voice tag.
#include "tests/app/HostileFiles.h"
#include "tests/engine/Recordings.h"

#include "platform/LittleEndian.h"

namespace {

namespace fs = std::filesystem;

// The 44 bytes of a canonical WAV header.
std::string wav_header(int channels, int rate, int bits, std::uint32_t data_bytes)
{
    std::vector<std::uint8_t> bytes;
    auto text = [&](const char* four) { bytes.insert(bytes.end(), four, four + 4); };
    text("RIFF");
    platform::append_u32le(bytes, 36 + data_bytes);
    text("WAVE");
    text("fmt ");
    platform::append_u32le(bytes, 16);
    platform::append_u16le(bytes, 1);
    platform::append_u16le(bytes, static_cast<std::uint16_t>(channels));
    platform::append_u32le(bytes, static_cast<std::uint32_t>(rate));
    platform::append_u32le(bytes, static_cast<std::uint32_t>(rate * channels * bits / 8));
    platform::append_u16le(bytes, static_cast<std::uint16_t>(channels * bits / 8));
    platform::append_u16le(bytes, static_cast<std::uint16_t>(bits));
    text("data");
    platform::append_u32le(bytes, data_bytes);
    return std::string(bytes.begin(), bytes.end());
}

class HostileTagFiles : public HostileFiles {
protected:
    void SetUp() override
    {
        HostileFiles::SetUp();
        tag("Anna", ANNA_PHONE, recording("anna-1"));
        tag("Oscar", OSCAR_PHONE, recording("oscar-1"));
        write_settings(false, false, false);
        write_settings_skin();
        good_tag = temp.read("commands/002.tag");
        good_wav = temp.read("commands/002.wav");
    }

    void use_precise_engine(bool precise)
    {
        temp.write("settings.xml",
            std::string("<Settings><General PlaySound=\"false\" PlayCommands=\"false\" "
                        "WaitConfirmation=\"false\"")
                + (precise ? " engine=\"precise\"" : "") + "/></Settings>");
    }

    struct Damage {
        const char* name;
        std::string bytes;
    };

    // Damage to the structure of a file, so that it cannot be read.
    static std::vector<Damage> broken(const std::string& good, std::uint32_t seed)
    {
        return {
            { "zero-length", "" },
            { "ten bytes", good.substr(0, 10) },
            { "the first half", good.substr(0, good.size() / 2) },
            { "random bytes", random_bytes(good.size(), seed) },
        };
    }

    // Recordings that hold no sound that can be read.
    std::vector<Damage> unreadable_recordings() const
    {
        std::vector<Damage> damages = broken(good_wav, 61u);
        std::erase_if(
            damages, [](const Damage& d) { return d.name == std::string("the first half"); });
        damages.push_back({ "a header alone", good_wav.substr(0, 44) });
        damages.push_back(
            { "a rate of zero", wav_header(1, 0, 16, 4000) + std::string(4000, 'x') });
        damages.push_back(
            { "no format chunk", std::string("RIFF\x10\0\0\0WAVEdata\x04\0\0\0abcd", 24) });
        return damages;
    }

    // Recordings cut short, claiming more than they hold, or of another
    // format: what they hold may play.
    std::vector<Damage> partial_recordings() const
    {
        return {
            { "the first half", good_wav.substr(0, good_wav.size() / 2) },
            { "a header claiming a gigabyte", wav_header(1, 22050, 16, 1u << 30) + "abcd" },
            { "a header claiming every byte",
                wav_header(1, 22050, 16, 0xFFFFFFFFu) + good_wav.substr(44) },
            { "eight-bit stereo at 8 kHz", wav_header(2, 8000, 8, 4000) + std::string(4000, 'x') },
        };
    }

    std::string good_tag;
    std::string good_wav;
};

TEST_F(HostileTagFiles, ADamagedTemplateNeverWinsAndTheOtherTagsStillMatch)
{
    std::vector<Damage> damages = broken(good_tag, 51u);
    damages.push_back({ "a frame count of two thousand million",
        good_tag.substr(0, 4) + "\xff\xff\xff\x7f" + good_tag.substr(8) });
    damages.push_back({ "its frames overwritten",
        good_tag.substr(0, 64) + random_bytes(good_tag.size() - 64, 52u) });
    std::string dialled;
    for (const Damage& damage : damages) {
        temp.write("commands/002.tag", damage.bytes);
        expect_clean(recognise("oscar-2"), damage.name);
        expect_clean(recognise("anna-2"), damage.name);
        dialled += std::string(ANNA_PHONE) + "\n";
        // Oscar's damaged tag was never dialled; Anna's may have been
        // the best of what was left for his name.
        std::string made = calls();
        EXPECT_EQ(made.find(OSCAR_PHONE), std::string::npos) << damage.name << "\n" << made;
        EXPECT_TRUE(made.ends_with(std::string(ANNA_PHONE) + "\n")) << damage.name;
    }
    // The tag that cannot be read is still listed and kept.
    temp.write("commands/002.tag", damages.back().bytes);
    expect_clean(settings_run(), "listing");
    EXPECT_NE(temp.read("commands/commands.xml").find("voice=\"002\""), std::string::npos);
}

TEST_F(HostileTagFiles, ADamagedRecordingNeverWinsWithTheEngineThatMatchesRecordings)
{
    use_precise_engine(true);
    std::vector<Damage> damages = unreadable_recordings();
    for (const Damage& damage : partial_recordings())
        damages.push_back(damage);
    for (const Damage& damage : damages) {
        temp.write("commands/002.wav", damage.bytes);
        fs::remove(path("commands/002.cepstra"));
        expect_clean(recognise("oscar-2"), damage.name);
        EXPECT_EQ(calls().find(OSCAR_PHONE), std::string::npos) << damage.name << "\n" << calls();
    }
    // A damaged cache beside a good recording is read no further.
    temp.write("commands/002.wav", good_wav);
    for (const Damage& damage : broken(good_wav, 62u)) {
        temp.write("commands/002.cepstra", damage.bytes);
        expect_clean(recognise("oscar-2"), damage.name);
    }
}

TEST_F(HostileTagFiles, PlayingARecordingThatCannotBeReadPlaysNothing)
{
    std::string oscar = id_of("Oscar");
    for (const Damage& damage : unreadable_recordings()) {
        temp.write("commands/002.wav", damage.bytes);
        fs::remove(path("speaker.wav"));
        // The settings form's Play on Oscar's row.
        expect_clean(settings_run(oscar, "command Play\nwait 1500\n"), damage.name);
        EXPECT_EQ(speaker_bytes(), 0u) << damage.name;
        // The recognition plays the winner's recording before it dials:
        // nothing, and the call is made.
        write_settings(false, true, false);
        fs::remove(path("speaker.wav"));
        Result result = recognise("oscar-2");
        expect_clean(result, damage.name);
        EXPECT_EQ(speaker_bytes(), 0u) << damage.name;
        EXPECT_TRUE(calls().ends_with("030 2\n")) << damage.name;
        write_settings(false, false, false);
    }
}

TEST_F(HostileTagFiles, RecordingFaintNoiseStoresNoTagAndSaysNothing)
{
    fs::remove_all(path("commands"));
    std::string oscar = id_of("Oscar");
    // 3 s of the hiss of an idle microphone, about 30 in amplitude.
    write_wav("hiss.wav", test_recordings::noise(3 * 22050, 30, 26u));
    set("RINGWISE_MIC", path("hiss.wav"));
    Result result = settings_run(oscar, "command Record\nwait 6000\n");
    expect_clean(result, "recording hiss");
    EXPECT_FALSE(temp.exists("commands/commands.xml"));
    EXPECT_FALSE(temp.exists("commands/001.tag"));
    EXPECT_FALSE(temp.exists("commands/001.wav"));
    // No message box was asked for.
    EXPECT_EQ(result.err.find("Warning"), std::string::npos) << result.err;
}

} // namespace
