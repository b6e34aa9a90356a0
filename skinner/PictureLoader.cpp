#include "skinner/PictureLoader.h"

namespace skinner {

namespace {

PictureLoader& installed()
{
    static PictureLoader loader;
    return loader;
}

} // namespace

PictureLoader set_picture_loader(PictureLoader loader)
{
    PictureLoader previous = std::move(installed());
    installed() = std::move(loader);
    return previous;
}

const PictureLoader& picture_loader()
{
    return installed();
}

} // namespace skinner
