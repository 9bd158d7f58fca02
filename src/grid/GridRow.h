#pragma once

#include "grid/CGridCellBase.h"

#include <memory>
#include <vector>

// One row of a grid: a cell per column, owned by the row.
using GridRow = std::vector<std::unique_ptr<CGridCellBase>>;
