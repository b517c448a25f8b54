// On Windows the argument already is a path of the machine.
#include "tools/xmlinspect/MachinePath.h"

CMachinePaths::CMachinePaths() = default;
CMachinePaths::~CMachinePaths() = default;

std::u16string CMachinePaths::PathOf(std::u16string_view argument) const {
    return std::u16string(argument);
}
