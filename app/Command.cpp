#include "app/Command.h"

std::u16string join(
    const std::u16string& a, const std::u16string& b, const std::u16string& separator)
{
    if (!a.empty() && !b.empty())
        return a + separator + b;
    return a + b;
}
