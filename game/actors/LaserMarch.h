#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Sector;

// What one march of a laser's beam found of a cell's entities so far.
struct LaserCellScan {
    // A switch or ship of the cell, by its place in the cell's list, and
    // whether the laser touches it, known once asked (the answer depends on
    // the laser alone being on or off: nothing else it reads changes during
    // a march).
    struct Sought {
        std::uint32_t place = 0;
        std::int8_t touchedOff = -1; // -1: not asked yet
        std::int8_t touchedOn = -1;
    };
    const Sector* cell = nullptr;
    std::size_t scanned = 0;      // places looked at
    std::uint32_t departures = 0; // the cell's count when they were
    bool complete = true;         // scanned from the list's start
    std::vector<Sought> sought;   // in list order

    void Restart(std::size_t from)
    {
        scanned = from;
        complete = from == 0;
        sought.clear();
    }
};

// The cells one march met, kept by the laser and reused from march to march
// so a march allocates nothing once the lists have grown.
struct LaserMarchScans {
    std::vector<LaserCellScan> scans;
    std::size_t used = 0;

    void BeginMarch() { used = 0; }
    // The scan of the cell in this march, a fresh one when it is new to it.
    LaserCellScan& For(const Sector* cell);
};
