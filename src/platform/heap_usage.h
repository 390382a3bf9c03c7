#pragma once
// Live heap blocks and their total size, for the about box. Counted in the program's own global
// allocation functions, so it covers every object the program creates with new, containers
// included; memory that C libraries take with malloc for themselves is not counted.
#include <cstdint>

namespace pigmentaria {

struct THeapUsage {
    std::int64_t Blocks = 0;
    std::int64_t Bytes = 0;
};

THeapUsage HeapUsage();

} // namespace pigmentaria
