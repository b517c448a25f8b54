// Setup's dialog templates: the one source of both builds' dialogs.
#pragma once

#include <cstdint>

#include "platform/DialogTemplate.h"

// The template of the given id; nullptr for an id Setup has no template of.
const platform::DialogTemplate* FindDialogTemplate(std::uint16_t id);
