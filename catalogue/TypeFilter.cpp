#include "catalogue/TypeFilter.h"

namespace brasvel {

bool typeItemKeeps(int item, const CatalogueEntry& entry) {
    if (item == 0) {
        return true;
    }
    if (item < 0 || item >= kTypeItemCount) {
        return false;
    }
    return extIs(entry.Ext, kTypeItems[static_cast<std::size_t>(item)].ext);
}

void ViewLod(CatalogueModel& model, WindowToolkit& ui) {
    ui.beginListUpdate();
    ui.clearRows();
    int rows = 0;
    model.VisibleCount = 0;
    const int item = ui.selectedTypeIndex();
    if (item >= 0 && item < kTypeItemCount) {
        for (int e = 0; e < model.EntryCount; ++e) {
            const CatalogueEntry& entry = model.Catalogue[static_cast<std::size_t>(e)];
            if (!typeItemKeeps(item, entry)) {
                continue;
            }
            const int row = ui.appendRow();
            model.ViewOrder[static_cast<std::size_t>(rows++)] = static_cast<std::uint16_t>(e);
            const int image =
                item == 0 ? typeImageFor(entry.Ext) : kTypeItems[static_cast<std::size_t>(item)].image;
            ui.setRowImage(row, image);
            ui.setRowCaption(row, std::string(entry.Name.view()) + '.' + std::string(entry.Ext.view()));
        }
        model.VisibleCount = rows;
    }
    ui.endListUpdate();
}

}  // namespace brasvel
