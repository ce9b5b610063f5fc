#pragma once
// The grid's own error: fixed English texts for invalid cells, rows, columns and files.
#include "platform/core/exception.h"

class EProGridError : public Exception {
public:
    using Exception::Exception;
};
