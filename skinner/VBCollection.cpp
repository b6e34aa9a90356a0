#include "skinner/VBCollection.h"

#include "os/Assertion.h"

namespace skinner {

MenuManager::Item* VBCollection::operator[](int pos) const
{
    if (pos < 0 || pos >= count())
        report_assertion(u"VBCollection::operator[]", u"pos is invalid");
    return items_[static_cast<std::size_t>(pos)];
}

} // namespace skinner
