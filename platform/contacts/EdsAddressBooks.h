#pragma once

#include <string>
#include <vector>

namespace platform {

// How long reading the address books may take in all, from connecting to
// the service to the last card; a service that has not answered by then
// counts as absent, and what was read until then is kept.
constexpr int EDS_WAIT_SECONDS = 10;

// The contacts of every enabled address book of Evolution Data Server, each
// as the text of one vCard 3.0 card; the books in the order of their source
// ids, each book's cards in its own order. Empty where the library is not
// installed, there is no session bus or the service is not on it. An
// address book that cannot be opened or read is skipped.
std::vector<std::string> read_eds_vcards();

} // namespace platform
