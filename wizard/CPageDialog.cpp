#include "wizard/CPageDialog.h"

#include "resources/ResourceIds.h"
#include "wizard/PrinterCatalogue.h"

using namespace platform;

void CPageDialog::AttachPrinterIcon(CListCtrl& list, CImageList& images,
                                    std::uint32_t colourFlags) {
    if (images.GetSafeHandle() || !images.Create(48, 48, colourFlags | IlcMask, 0, 0))
        return;
    if (auto icon = LoadIconW(IdiPrinter))
        images.Add(icon.value);
    list.SetImageList(images.GetSafeHandle(), LvsilNormal);
}

std::u16string CPageDialog::SelectedModel(const CListCtrl& list) {
    // A catalogue model name has at most 499 characters: the whole of it is read.
    std::u16string model = list.GetItemText(list.GetSelectionMark(), MaxModelNameLength + 1);
    if (model.empty())
        MessageBox(m_setup.LoadText(TextNoDriverSelected), BoxCaption, MbOk);
    return model;
}
