#pragma once

#include "platform/LittleEndian.h"
#include "platform/graphics/PngWriter.h"
#include "skinner/PictureCache.h"
#include "skinner/PictureLoader.h"
#include "skinner/Skin.h"

#include "tests/os/LogFixture.h"
#include "tests/skinner/SkinBuilder.h"

#include <memory>

// Skins with pictures beside them or in their archives, loaded the way the
// program loads them (pictures through the picture cache), with the
// diagnostic log switched on.
class PictureFixture : public LogFixture {
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        set_log_switch(1);
        skinner::PictureCache::install();
    }

    void TearDown() override
    {
        skinner::set_picture_loader(nullptr);
        LogFixture::TearDown();
    }

    // A one-form skin whose only control "ctl" carries `control`'s
    // properties. At `scale` 2 the skin's only design size is 240 x 320 and
    // the screen 480 x 640.
    static skinc::SkinSource skin_with(const skinc::Node& control,
        std::vector<std::u16string> pictures, std::vector<std::u16string> fonts = {})
    {
        skinc::Node form = skin_builder::variant(u"Form", 100, 100);
        form.controls.push_back(control);
        skinc::SkinSource source = skin_builder::skin({ form });
        source.design_sizes[1] = {};
        source.pictures = std::move(pictures);
        source.fonts = std::move(fonts);
        return source;
    }

    std::unique_ptr<skinner::Skin> load(
        const skinc::SkinSource& source, int scale = 1, bool archive = false)
    {
        std::u16string path
            = skin_builder::write(temp, archive ? "test.zip" : "test.skin", source, archive);
        return std::make_unique<skinner::Skin>(path, skinner::Point { 240 * scale, 320 * scale });
    }

    void write_png(const std::string& name, const platform::Bitmap& bitmap)
    {
        ASSERT_TRUE(platform::write_png(bitmap, temp.native(name)));
    }

    static skinc::PictureProperty picture_property(const std::u16string& name,
        std::array<std::uint16_t, 8> xy, std::uint8_t index = 0, bool stretch = true)
    {
        return { name, xy, index, std::uint8_t(stretch ? 1 : 0) };
    }

    std::u16string log_text() const
    {
        std::string bytes = log_bytes();
        auto units = reinterpret_cast<const std::uint8_t*>(bytes.data());
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(platform::read_u16le(units + i)));
        return text;
    }

    bool logged(std::u16string_view line) const
    {
        return log_text().find(line) != std::u16string::npos;
    }
};
