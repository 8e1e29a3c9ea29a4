#include "LaserMarch.h"

#include "Sector.h"

LaserCellScan& LaserMarchScans::For(const Sector* cell)
{
    // The march's 3 x 3 window slides half a cell a step, so a cell stays in
    // it for at most seven steps of nine cells each: a cell met again is
    // among the last entries, and a long beam does not search all it met for
    // each new cell. (A cell not found here only gets a fresh scan, which
    // finds the same entities.)
    constexpr std::size_t kRecent = 72;
    const std::size_t oldest = used > kRecent ? used - kRecent : 0;
    for (std::size_t i = used; i-- > oldest;)
        if (scans[i].cell == cell)
            return scans[i];
    if (used == scans.size())
        scans.emplace_back();
    LaserCellScan& scan = scans[used++];
    scan.cell = cell;
    scan.departures = cell->Departures();
    scan.Restart(0);
    return scan;
}
