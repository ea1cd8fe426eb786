#pragma once

// Qt on Linux announces a combo box by its current entry ("Small Time"); screen readers that walk
// the desktop's accessibility bus then never hear what the list is for. Once installed, a combo box
// with an accessible name is announced by it, its entry as its value, with Qt's own list and
// actions.
void AnnounceComboBoxesByName();
