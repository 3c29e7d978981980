#pragma once

#include "platform/FileSystem.h"

namespace brisko::platform {

// Puts a listing in its repeatable order: entries by upper-cased name, then by the name itself;
// the names passed over by name.
void sortListing(Listing& listing);

} // namespace brisko::platform
