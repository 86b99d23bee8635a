#pragma once

#include "layout/Strip.h"

namespace tavrin {

// Capacity of the strip store: columns 0..8, rows 0..200.
inline constexpr int kMaxColumns = 9;
inline constexpr int kMaxRows = 201;

// The in-memory board: grid size, per-layout settings and the fixed strip store.
// Only strips with column < NumberOfColumns and row < NumberOfRows belong to the board;
// the others keep their values, hidden, until the grid grows again.
struct MenuLayout {
    int NumberOfColumns = 2;
    int NumberOfRows = 16;
    // Mirrors the "White Bgnd Print Menu Format" check box: the window keeps the two in step.
    bool WhitePrintBackground = false;
    Strip strips[kMaxColumns][kMaxRows];

    // Grid counts limited to the store; counts of 0 or below give an empty board.
    int boardColumns() const;
    int boardRows() const;

    Strip &strip(int column, int row) { return strips[column][row]; }
    const Strip &strip(int column, int row) const { return strips[column][row]; }

    // Calls f(column, row, strip) for every strip of the board, columns outer, rows inner.
    template <typename F> void forEachBoardStrip(F &&f)
    {
        const int columns = boardColumns(), rows = boardRows();
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r)
                f(c, r, strips[c][r]);
    }
    template <typename F> void forEachBoardStrip(F &&f) const
    {
        const int columns = boardColumns(), rows = boardRows();
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r)
                f(c, r, strips[c][r]);
    }
};

} // namespace tavrin
