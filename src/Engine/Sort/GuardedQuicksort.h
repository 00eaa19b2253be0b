// The listing's quicksort over packed records, guarded against orders that
// would make it quadratic.
#pragma once

#include <vector>

#include "Engine/Sort/SortRecord.h"

// Sorts the records with CompareRecords<Whole>. Equal records end where the
// plain middle-pivot quicksort leaves them, unless a crafted order drives it
// deep enough for the guard to finish a range by heapsort.
template <bool Whole>
void GuardedQuicksort(std::vector<SortRecord>& records);
