#include "platform/LittleEndian.h"
#include "skinner/PictureLoader.h"
#include "skinner/Skin.h"

#include "SkinBuilder.h"
#include "tests/os/LogFixture.h"

using namespace skin_builder;

namespace {

using SkinLog = LogFixture;

std::u16string logged(const std::string& bytes)
{
    auto units = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(platform::read_u16le(units + i)));
    return text;
}

} // namespace

TEST_F(SkinLog, LoadingLogsTheRecordSizesAndWhatFailed)
{
    set_log_switch(1);
    skinner::Skin good(write(temp, "good.skin", skin()), { 480, 640 }, {});
    EXPECT_EQ(logged(log_bytes()),
        u"sizeof(IntegerNode)=8\nIntegerNode::Size=8\n"
        u"sizeof(PointNode)=6\nPointNode::Size=6\n"
        u"sizeof(ColorNode)=6\nColorNode::Size=6\n"
        u"sizeof(StringNode)=4\nStringNode::Size=4\n"
        u"sizeof(PictureNode)=20\nPictureNode::Size=20\n");

    skinner::Skin missing(temp.wide("missing.skin"), { 480, 640 }, {});
    EXPECT_NE(logged(log_bytes())
                  .find(u"Error: skin [" + temp.wide("missing.skin") + u"] failed to load\n"),
        std::u16string::npos);

    auto zip = skinc::write_zip({ { "main.skin", description(skin()) } });
    zip.resize(600);
    skinner::Skin cut(write(temp, "cut.skin", zip), { 480, 640 }, {});
    EXPECT_NE(
        logged(log_bytes())
            .find(u"Error: skin [" + temp.wide("cut.skin") + u"] failed to load from archive\n"),
        std::u16string::npos);

    auto with_picture = skin();
    with_picture.pictures = { u"Back" };
    auto previous = skinner::set_picture_loader([](auto&, auto&, int) { return nullptr; });
    skinner::Skin no_picture(write(temp, "picture.skin", with_picture), { 480, 640 }, {});
    skinner::set_picture_loader(previous);
    EXPECT_FALSE(no_picture.is_valid());
    EXPECT_NE(
        logged(log_bytes()).find(u"PropertiesImpl::PropertiesImpl picture failed to load {Back}\n"),
        std::u16string::npos);
}
