#pragma once

namespace tarv::core {

// Which side of a conflict block to keep.
enum class ConflictChoice { current, incoming, both };

}  // namespace tarv::core
