// Loading the printer catalogue from config.xml beside the Setup program.
#pragma once

#include <string_view>

#include "wizard/CatalogueObserver.h"
#include "wizard/PrinterCatalogue.h"

// Empties the catalogue and fills it from config.xml in the running
// program's folder. True when every model was read and every driver file it
// names exists; false when the catalogue is missing or invalid. Models read
// before a failure stay in the catalogue.
bool LoadCatalogue(PrinterCatalogue& catalogue, ICatalogueObserver* observer = nullptr);

// The same for a program at programPath: its folder is the medium.
bool LoadCatalogueBeside(std::u16string_view programPath, PrinterCatalogue& catalogue,
                         ICatalogueObserver* observer = nullptr);
