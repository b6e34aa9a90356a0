#include "liba/Active.h"

#include "liba/ActiveScheduler.h"
#include "liba/Assertion.h"

namespace {

CActiveScheduler& scheduler(const char16_t* location)
{
    CActiveScheduler* scheduler = CActiveScheduler::instance();
    if (!scheduler)
        liba::report_assertion(location, u"No active scheduler");
    return *scheduler;
}

} // namespace

CActive::CActive(int) { }

CActive::~CActive()
{
    if (is_active())
        liba::report_assertion(u"CActive::~CActive()", u"Active object is already active");
}

void CActive::set_active()
{
    scheduler(u"CActive::set_active").set_active(*this);
}

void CActive::cancel()
{
    if (is_active())
        scheduler(u"CActive::cancel").cancel(*this);
}

void CActive::notify() const
{
    scheduler(u"CActive::notify").notify(*this);
}
