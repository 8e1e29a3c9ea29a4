#pragma once

// Bytes of an actor's name field: at most 15 characters and a zero byte.
constexpr int kEntityNameBytes = 16;
