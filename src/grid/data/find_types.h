#pragma once
// Options of the grid's find, and what the search footer reports it did.
#include "platform/core/sets.h"

enum TFindParameters {
    fnMatchCase,
    fnMatchFull,
    fnMatchRegular,
    fnDirectionLeftRight,
    fnMatchStart,
    fnFindInCurrentRow,
    fnFindInCurrentCol,
    fnIncludeFixed,
    fnAutoGoto,
    fnIgnoreHTMLTags,
    fnBackward,
    fnIncludeHiddenColumns,
    fnFindInPresetCol,
    fnFindInPresetRow,
    fnSelectedCells,
    fnIncludeHiddenRows
};
using TFindParams = TSet<TFindParameters>;

enum TSearchAction { saFindFirst, saFindPrevious, saFindNext };
