#pragma once
// The pictures of the item box: one image list per set number (1 Quake,
// 2 Quake II, 3 Quake III Arena), each Varkel's own small drawings of the
// set's weapons and power-ups in the order of the set's item list. The k-th
// entry of a list file shows image k + 1, so image 1 is never used.

#include <QIcon>
#include <QVector>

namespace varkel {

// The image list of a set number, indexed by image number from 1 (index 0
// is unused and null). Empty for a set number that names no list.
const QVector<QIcon> &ItemImageList(int setNumber);

// The picture of an image number, or a null icon when the list has none.
QIcon ItemImage(int setNumber, int image);

} // namespace varkel
