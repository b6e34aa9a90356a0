#include "os/ContactManager.h"
#include "platform/Convert.h"
#include "tools/ringwise-tool/ToolFields.h"

#include <cstdio>

namespace tool {

// Lists the contacts store as the program reads it, one record a line.
int run_contacts(const std::vector<std::string>& arguments)
{
    if (!arguments.empty()) {
        std::fputs("usage: ringwise-tool contacts\n", stderr);
        return 2;
    }
    os::ContactManager manager;
    std::vector<os::ContactRecord> records;
    manager.load_all(records);
    for (const os::ContactRecord& record : records) {
        print_fields({ platform::from_utf8(platform::to_text(record.oid)), record.first_name,
            record.last_name, record.company, record.mobile_phone, record.business_phone,
            record.home_phone });
    }
    return 0;
}

} // namespace tool
