#pragma once

#include "catalogue/Catalogue.h"
#include "toolkit/WindowToolkit.h"

namespace brasvel {

// Rebuilds the list from the catalogue for the type box's selected item: every entry for "*.*"
// (each with the image of its extension), or the entries whose Ext is exactly the lower- or
// upper-case form of the item's extension (each with the item's image), in directory order.
// Rewrites ViewOrder and VisibleCount; reads no file and leaves the catalogue as it is.
void ViewLod(CatalogueModel& model, WindowToolkit& ui);

// Whether the item with index `item` keeps the entry.
bool typeItemKeeps(int item, const CatalogueEntry& entry);

}  // namespace brasvel
