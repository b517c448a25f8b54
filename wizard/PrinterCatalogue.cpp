#include "wizard/PrinterCatalogue.h"

const PrinterModel* FindPrinterModel(const PrinterCatalogue& catalogue, std::u16string_view name) {
    for (const PrinterModel& model : catalogue) {
        if (model.name == name) {
            return &model;
        }
    }
    return nullptr;
}
