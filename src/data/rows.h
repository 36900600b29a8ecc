#pragma once
// The lists' way into the tables: fills the seam of common/lists.h (SET_WORKAREA_ROWS) with the
// selected work area as the engine sees it, in its current order and filter.

namespace sklad {

// Installs the work areas as the row source of TBROWSEDB, TBCOLUMNNEW and DBEDIT. Safe to call
// again; the screens of the list conventions call it before they build a list.
void INSTALL_WORKAREA_ROWS();

}  // namespace sklad
