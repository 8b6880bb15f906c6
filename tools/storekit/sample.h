// The sample store and price list the window opens on: a run over them shows each thing the
// tool does, ending with parts listed in the grid.
#pragma once

#include <QString>

namespace storekit {

// The passwords the window's connections use for the sample files.
inline const QString kSampleStorePassword = QStringLiteral("KWZ730258");
inline const QString kSamplePriceListPassword = QStringLiteral("PLN394");

// Writes <folder>/E:/DataVelandor/Velandor.accdb (a "V.31" store, brand key 12) and
// PriceList_VURE.mdb there, where the window's start-up paths point when it is started from
// <folder>, both or neither (files there already are refused unless replace); returns that
// folder. A run over them:
// - updates the prices and names of the parts the store has (15601-87703, 90915-YZZE1);
// - inserts the new part 17801-0C010 with its replacement number 17801-0C020, in one group;
// - lists in the grid the two parts to which the list gives two prices: 1-04465-0K240 (a blank
//   kind on page 1 covers every kind of the number, page 2 prices kind 1 again) and
//   48815-0K020 (on both pages); each shows the price the store kept beside the other one.
QString WriteSample(const QString& folder, bool replace = false);

} // namespace storekit
