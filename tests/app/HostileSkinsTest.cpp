// Damaged skins through the real program: a skin that cannot be read shows
// its mode's failure message; pictures and prompts that cannot be decoded
// leave the forms working; a damaged dialogs skin answers every question no.
#include "tests/app/HostileFiles.h"

#include <cctype>

namespace {

namespace fs = std::filesystem;

class HostileSkins : public HostileFiles {
protected:
    // The fixed header at the start of every description.
    static constexpr std::size_t HEADER = 540;

    void SetUp() override
    {
        HostileFiles::SetUp();
        tag_anna_with_quiet_settings();
    }

    struct Damage {
        const char* name;
        std::string bytes;
        // Whether the description itself is gone or cut, so that the skin
        // cannot load; otherwise it may load with entries missing.
        bool unreadable;
    };

    // Where a skin file's description lies: the data of the archive's
    // first stored entry, or the whole of a plain file.
    static std::pair<std::size_t, std::size_t> description_of(const std::string& skin)
    {
        if (!skin.starts_with("PK\x03\x04"))
            return { 0, skin.size() };
        auto u16 = [&](std::size_t at) {
            return std::size_t(std::uint8_t(skin[at]))
                | std::size_t(std::uint8_t(skin[at + 1])) << 8;
        };
        std::size_t size = u16(18) | u16(20) << 16;
        return { 30 + u16(26) + u16(28), size };
    }

    // The good skin with the description's bytes after its header replaced
    // by `body` of the same length; the archive around it stays whole.
    static std::string with_body(const std::string& good, const std::string& body)
    {
        auto [start, size] = description_of(good);
        std::string damaged = good;
        damaged.replace(start + HEADER, size - HEADER, body);
        return damaged;
    }

    // Every kind of damage to a good skin file.
    static std::vector<Damage> damages_of(const std::string& good)
    {
        auto [start, size] = description_of(good);
        std::size_t body = size - HEADER;
        return {
            // The header passes every check; the trees behind it are gone.
            { "random bytes after an intact header", with_body(good, random_bytes(body, 28u)),
                true },
            { "zeros after an intact header", with_body(good, std::string(body, '\0')), true },
            { "zero-length", "", true },
            { "the first 16 bytes", good.substr(0, 16), true },
            { "cut inside the description", good.substr(0, start + size / 2), true },
            { "4 KiB of random bytes", random_bytes(4096, 26u), true },
            { "random bytes of the good size", random_bytes(good.size(), 27u), true },
            // The walk over the entries finds all but the last one whole.
            { "all but the last byte", good.substr(0, good.size() - 1), false },
        };
    }
};

TEST_F(HostileSkins, ADamagedSkinOfEitherModeShowsItsFailureMessageAndEndsWithZero)
{
    struct Mode {
        const char* file;
        const char* arguments;
        const char* message;
    };
    for (Mode mode : { Mode { "skins/Default_Green/Default_Green.skin", "", "Skin_failed" },
             Mode { "skins/settings/settings.skin", "s", "Settings_skin_failed" } }) {
        std::string good = temp.read(mode.file);
        ASSERT_GT(good.size(), 100u);
        for (const Damage& damage : damages_of(good)) {
            temp.write(mode.file, damage.bytes);
            set("RINGWISE_MIC", recording("anna-2"));
            // A settings form that does open is closed again.
            script(mode.arguments[0] ? "wait-form FormSettings\ncommand Exit\n" : "");
            Result result = finish(start(mode.arguments), std::chrono::seconds(60));
            std::string what = std::string(mode.file) + ": " + damage.name;
            expect_clean(result, what);
            if (damage.unreadable) {
                EXPECT_NE(result.err.find(mode.message), std::string::npos) << what << result.err;
            }
        }
        temp.write(mode.file, good);
    }
}

// The stored entries of a skin archive: where each one's name and data lie.
struct ArchiveEntry {
    std::string name;
    std::size_t name_at;
    std::size_t data_at;
    std::size_t size;
};

std::vector<ArchiveEntry> entries_of(const std::string& archive)
{
    auto u32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | std::uint8_t(archive[at + std::size_t(i)]);
        return std::size_t(value);
    };
    std::vector<ArchiveEntry> entries;
    for (std::size_t at = 0; archive.compare(at, 4, "PK\x03\x04") == 0;) {
        std::size_t name_size = u32(at + 26) & 0xFFFF;
        std::size_t extra = u32(at + 28) & 0xFFFF;
        ArchiveEntry entry { archive.substr(at + 30, name_size), at + 30,
            at + 30 + name_size + extra, u32(at + 18) };
        entries.push_back(entry);
        at = entry.data_at + entry.size;
    }
    return entries;
}

// The picture names of a skin archive's entries: "band" for "band.bmp",
// "band_x2.bmp" and, with `masks`, for "band_8.bmp" and "band_x2_8.bmp".
bool is_picture_of(const std::string& entry, const std::string& name, bool masks)
{
    std::string suffix = masks ? "_8.bmp" : ".bmp";
    if (!entry.starts_with(name) || !entry.ends_with(suffix))
        return false;
    std::string between = entry.substr(name.size(), entry.size() - name.size() - suffix.size());
    return between.empty()
        || (between.size() == 3 && between.starts_with("_x") && std::isdigit(between[2]));
}

TEST_F(HostileSkins, APictureThatCannotBeLoadedRefusesTheSkinAndAMaskThatCannotOnlyLosesIt)
{
    struct Mode {
        const char* file;
        const char* arguments;
        const char* message;
        const char* form;
        const char* picture;
        const char* masked;
    };
    for (Mode mode : { Mode { "skins/Default_Green/Default_Green.skin", "", "Skin_failed",
                           "FormRecognizing", "band", "btn_off" },
             Mode { "skins/settings/settings.skin", "s", "Settings_skin_failed", "FormSettings",
                 "IconContact", "IconAssigned" } }) {
        std::filesystem::copy_file(fs::path(RINGWISE_BINARY_DIR) / "bin" / mode.file,
            path(mode.file), fs::copy_options::overwrite_existing);
        std::string good = temp.read(mode.file);
        std::vector<ArchiveEntry> entries = entries_of(good);
        // Every scale's picture of one name, or every scale's mask of one.
        auto damaged = [&](const char* name, bool masks, bool missing) {
            std::string bytes = good;
            int count = 0;
            for (const ArchiveEntry& entry : entries) {
                if (!is_picture_of(entry.name, name, masks))
                    continue;
                ++count;
                if (missing)
                    bytes[entry.name_at] = '~';
                else
                    bytes.replace(entry.data_at, entry.size, random_bytes(entry.size, 29u));
            }
            EXPECT_GE(count, 2) << mode.file << ": " << name;
            return bytes;
        };
        struct Case {
            const char* name;
            std::string bytes;
            bool refused;
        };
        for (const Case& damage : { Case { "the good skin", good, false },
                 Case { "undecodable pictures", damaged(mode.picture, false, false), true },
                 Case { "missing pictures", damaged(mode.picture, false, true), true },
                 Case { "undecodable masks", damaged(mode.masked, true, false), false } }) {
            std::string what = std::string(mode.file) + ": " + damage.name;
            temp.write(mode.file, damage.bytes);
            fs::remove(path("form.txt"));
            set("RINGWISE_MIC", recording("anna-2"));
            std::string lines = "wait-form " + std::string(mode.form) + " 60000\ndump "
                + path("form.txt") + "\n" + (mode.arguments[0] ? "command Exit\n" : "");
            script(lines);
            Result result = finish(start(mode.arguments), std::chrono::seconds(60));
            expect_clean(result, what);
            if (damage.refused) {
                EXPECT_NE(result.err.find(mode.message), std::string::npos) << what << result.err;
                EXPECT_FALSE(temp.exists("form.txt")) << what;
            } else {
                EXPECT_NE(temp.read("form.txt").find(std::string("form ") + mode.form + " active"),
                    std::string::npos)
                    << what << "\n"
                    << temp.read("form.txt") << result.err;
            }
        }
        temp.write(mode.file, good);
    }
}

TEST_F(HostileSkins, ADamagedDialogsSkinAnswersEveryQuestionNoAndTheProgramGoesOn)
{
    std::string good = temp.read("skins/settings/dialogs.skin");
    std::vector<Damage> damages = damages_of(good);
    std::erase_if(damages, [](const Damage& damage) { return !damage.unreadable; });
    for (const Damage& damage : damages) {
        temp.write("skins/settings/dialogs.skin", damage.bytes);
        // With a tag: a call that fails would show its message.
        set("RINGWISE_PHONE", path("missing-phone.so"));
        Result failed_call = finish(start(), std::chrono::seconds(60));
        expect_clean(failed_call, std::string("failed call, ") + damage.name);
        // The file dialog of a restore cannot open: the form stays usable.
        Result restore
            = settings_run("s", "command Restore_tags\ndump " + path("after.txt") + "\n");
        expect_clean(restore, std::string("restore, ") + damage.name);
        EXPECT_NE(temp.read("after.txt").find("form FormSettings active"), std::string::npos)
            << damage.name << "\n"
            << temp.read("after.txt");
    }
    // Without tags the question whether to record some is answered no: the
    // settings form never opens.
    fs::remove_all(path("commands"));
    for (const Damage& damage : damages) {
        temp.write("skins/settings/dialogs.skin", damage.bytes);
        Result asked = settings_run("");
        expect_clean(asked, std::string("no tags, ") + damage.name);
        EXPECT_FALSE(temp.exists("form.txt")) << damage.name;
    }
    EXPECT_EQ(calls(), "");
}

} // namespace
