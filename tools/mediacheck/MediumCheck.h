// Checks an installation medium by loading its catalogue exactly as Setup
// does, listening to the walk, and looking further at what the walk found.
#pragma once

#include <string_view>

#include "tools/mediacheck/MediumReport.h"

// mediumFolder is a folder of the machine (C:\...); the Setup program is
// taken to lie in it. The report's errors are exactly the reasons for which
// Setup would refuse the medium: none when Setup accepts it.
MediumReport CheckMedium(std::u16string_view mediumFolder);
