#!/usr/bin/env python3
"""The summary table of the benchmark stage, as markdown rows for docs/PERFORMANCE.md.

    summary.py build/reports/bench-*.log

Each argument is one benchmark program's output, named bench-<Program>.log
(tools/test-all.sh writes them). For every hot path below the script finds
the line its benchmark prints, takes the ratio from it and says whether the
goal is met. Goals are aims, not checks: a missed goal is reported, never a
failure. A line that is missing (the program did not run, or printed
nothing for that case) gives a row saying so.
"""
import os
import re
import sys

NUM = r"([0-9]+(?:\.[0-9]+)?)"

# (hot path, peer, benchmark program, pattern of the line with the ratio as
#  group 1, goal as (comparison, value), how the ratio reads)
# "time" ratios: the path's time over the peer's (lower is faster);
# "speed": the path's speed over the peer's (higher is faster);
# "growth": time per extra actor at 100,000 over the same at 1,000;
# "real time": game ticks a second over the 50 a second the game plays.
ROWS = [
    ("Opaque blit, 32-bit 640x480", "memcpy", "PixelBlitBench",
     r"^\| opaque blit \| 32 \| 640x480 \| memcpy \| " + NUM + r"x", (">=", 0.8), "speed"),
    ("Keyed blit, 32-bit 640x480", "SDL 1.2 keyed blit", "PixelBlitBench",
     r"^\| keyed blit \| 32 \| 640x480 \| SDL 1.2 key \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Keyed blit without SSE2, 16-bit 640x480", "SDL 1.2 keyed blit", "PixelBlitBench",
     r"^\| keyed blit \(plain\) \| 16 \| 640x480 \| SDL 1.2 key \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Alpha-plane blit, 32-bit 640x480", "pixman OVER a8", "PixelBlitBench",
     r"^\| alpha-plane blit \| 32 \| 640x480 \| pixman OVER a8 \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Blend effect p=64, 16-bit 640x480", "pixman OVER a8", "PixelBlitBench",
     r"^\| blend effect p=64 \| 16 \| 640x480 \| pixman OVER a8 \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Convert 32 to 16 bits, 640x480", "pixman SRC", "PixelBlitBench",
     r"^\| convert to 16 \| 32 \| 640x480 \| pixman SRC \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Convert 32 to 8 bits, 640x480", "pixman SRC", "PixelBlitBench",
     r"^\| convert to 8 \| 32 \| 640x480 \| pixman SRC \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Run-length blit, 16-bit 640x480, 50% clear", "SDL 1.2 RLEACCEL", "RunLengthBench",
     r"^\| run-length blit \| 640x480 \| 50% \| SDL 1.2 RLEACCEL \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Blit dispatch, opaque 32-bit 32x32", "the pixel routine alone", "BlitDispatchBench",
     r"^\| opaque \| 32 \| 32x32 \| [0-9]+ \| [0-9]+ \| " + NUM + r" \|", ("<=", 1.2), "time"),
    ("Blit through the handle, opaque 32-bit 32x32", "the pixel routine alone", "SurfaceHandleBench",
     r"^\| opaque \| 32 \| 32x32 \| [0-9]+ ns \| [0-9]+ ns \| [0-9]+ ns \| " + NUM + r" \|", ("<=", 1.2), "time"),
    ("Nearest stretch x0.5, 32-bit 640x480", "pixman SRC nearest", "GeometryBench",
     r"^\| nearest stretch x0\.5 \| 32 \| 640x480 \| pixman SRC nearest \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Resample x2, 32-bit 640x480", "pixman separable convolution", "GeometryBench",
     r"^\| resample x2 \| 32 \| 640x480 \| pixman separable \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Rotate 33 degrees smoothed, 32-bit 640x480", "pixman affine bilinear", "GeometryBench",
     r"^\| rotate 33 smoothed \| 32 \| 640x480 \| pixman affine bilinear \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Tile paint 1x1, 32-bit 640x480", "pixman SRC repeat", "PaintBench",
     r"^\| 1x1 \| 32 \| 640x480 \| pixman SRC repeat \| " + NUM + r"x", (">=", 1.0), "speed"),
    ("Edge smoothing, 32-bit keyed sprite", "the keyed blit alone", "EdgeAndMaskBench",
     r"^\s*SmoothedKeyedBlit/32\s+/\s+KeyedBlit/32\s+=\s+" + NUM + r"x", ("<=", 10.0), "time"),
    ("Collision mask overlap, 64x64", "32-bit word loop", "MaskBitsBench",
     r"^\s*MaskOverlap\s+/\s+WordLoop\s+=\s+" + NUM + r"x", ("<=", 1.0), "time"),
    ("Dirty list, 513 disjoint adds", "brute-force merger", "UpdateListBench",
     r"^\s*UpdateListAddFrame/0\s+/\s+BruteForceMerge/0\s+=\s+" + NUM + r"x", ("<=", 1.0), "time"),
    ("Sprite frame, 50 sprites", "full redraw", "SpriteFrameBench",
     r"^\s*DirtyFrame/50\s+/\s+FullRedraw/50\s+=\s+" + NUM + r"x", ("<=", 0.6), "time"),
    ("Sprite frame, 399 sprites", "full redraw", "SpriteFrameBench",
     r"^\s*DirtyFrame/399\s+/\s+FullRedraw/399\s+=\s+" + NUM + r"x", ("<=", 1.1), "time"),
    ("File source read, 4 KiB pieces", "fread", "StreamBench",
     r"^\s*SourceRead/4096\s+/\s+Fread/4096\s+=\s+" + NUM + r"x", ("<=", 1.11), "time"),
    ("Deflate, level 6", "zlib compress2", "StreamBench",
     r"^\s*Deflate/6\s+/\s+Compress2/6\s+=\s+" + NUM + r"x", ("<=", 1.05), "time"),
    ("Inflate, level-6 data", "zlib uncompress", "StreamBench",
     r"^\s*Inflate/6\s+/\s+Uncompress/6\s+=\s+" + NUM + r"x", ("<=", 1.05), "time"),
    ("Sound refill tick, 32 streams", "memcpy of the same bytes", "SoundBench",
     r"^\s*Tick32Streams\s+/\s+MemcpyOfTheSameBytes\s+=\s+" + NUM + r"x", ("<=", 1.43), "time"),
    ("Play tick, stress map", "real time (20 ms a tick)", "PlayTickBench",
     r"^play tick: [0-9]+ ticks/s = " + NUM + r" x real time", (">=", 10.0), "real time"),
    ("Laser march, stress map", "a ray over every live beam", "PlayTickBench",
     r"^\s*LaserMarch\s+/\s+LaserBruteForceRay\s+=\s+" + NUM + r"x", ("<=", 1.0), "time"),
    ("Lander search, stress map", "brute force over the level", "EnemySightBench",
     r"^\s*LanderSearch\s+vs\s+LanderSearchBruteForce\s*:\s+" + NUM + r"x faster", (">=", 10.0), "speed"),
    ("Radar draw, per item", "world draw, per item", "HudBench",
     r"^\s*radar per item / world per item = " + NUM + r"x", ("<=", 1.0), "time"),
    ("Brick draw, 1024 x 1024 cells", "a brick the size of the view", "BrickDrawBench",
     r"^\s*LargestBrickDraw\s+/\s+ScreenBrickDraw\s+=\s+" + NUM + r"x", ("<=", 1.5), "time"),
    ("Map load, stress map", "one buffered read of the file", "MapLoadBench",
     r"^\s*BM_LoadMap\s+/\s+BM_ReadFileOnce\s+=\s+" + NUM + r"x", ("<=", 5.0), "time"),
    ("High-score reply parse", "white-space split", "HiScoreReplyBench",
     r"^\s*BM_ParseReply\s+/\s+BM_SplitReply\s+=\s+" + NUM + r"x", ("<=", 2.0), "time"),
    ("High-score download, loopback", "plain-socket GET", "HiScoreDownloadBench",
     r"^\s*BM_WxDownload/real_time\s+/\s+BM_SocketGet/real_time\s+=\s+" + NUM + r"x", ("<=", 2.0), "time"),
    ("Level load, 100,000 extra actors", "the same per actor at 1,000", "ActorCountBench",
     r"^\s*BM_LoadLevel\s+at\s+100000:\s+" + NUM + r"x per actor", ("<=", 1.25), "growth"),
    ("Update pass, 100,000 extra actors", "the same per actor at 1,000", "ActorCountBench",
     r"^\s*BM_PlayPass\s+at\s+100000:\s+" + NUM + r"x per actor", ("<=", 1.25), "growth"),
    ("Laser-heavy update pass, 100,000 extra actors", "the same per actor at 1,000", "ActorCountBench",
     r"^\s*BM_LaserPass\s+at\s+100000:\s+" + NUM + r"x per actor", ("<=", 1.25), "growth"),
    ("Level teardown, 100,000 extra actors", "the same per actor at 1,000", "ActorCountBench",
     r"^\s*BM_Teardown\s+at\s+100000:\s+" + NUM + r"x per actor", ("<=", 1.25), "growth"),
]

READS = {"time": "x time", "speed": "x speed", "growth": "x per actor", "real time": "x real time"}


def read_outputs(paths):
    """Program name -> its output lines."""
    outputs = {}
    for path in paths:
        if not os.path.isfile(path):  # an unmatched glob: no program ran
            continue
        name = os.path.basename(path)
        name = re.sub(r"^bench-", "", re.sub(r"\.log$", "", name))
        with open(path, encoding="utf-8", errors="replace") as f:
            outputs[name] = f.read().splitlines()
    return outputs


def find(lines, pattern):
    rx = re.compile(pattern)
    for line in lines:
        m = rx.search(line)
        if m:
            return line.strip(), float(m.group(1))
    return None, None


def run_context(outputs):
    """One line: when the run began and the machine's load during it, from
    the context Google Benchmark prints at the top of each program."""
    dates, loads, cpus = [], [], set()
    for lines in outputs.values():
        for line in lines[:8]:
            if re.match(r"^\d{4}-\d\d-\d\dT", line):
                dates.append(line.strip()[:16].replace("T", " "))
            m = re.match(r"^Load Average: ([0-9.]+)", line)
            if m:
                loads.append(float(m.group(1)))
            m = re.match(r"^Run on \((\d+) X", line)
            if m:
                cpus.add(m.group(1))
    if not dates:
        return None
    text = f"Benchmark stage of {min(dates)}"
    if cpus:
        text += f", {'/'.join(sorted(cpus))} CPUs"
    if loads:
        text += f", load average {min(loads):.0f} to {max(loads):.0f}"
    return text + "."


def main(argv):
    outputs = read_outputs(argv[1:])
    context = run_context(outputs)
    if context:
        print(context)
        print()
    print("| hot path | peer (same run) | ratio | goal | met | benchmark: line it prints |")
    print("|---|---|---|---|---|---|")
    for path, peer, program, pattern, (cmp, goal), reads in ROWS:
        unit = READS[reads]
        goal_text = f"{cmp} {goal:g}{unit}"
        line, value = find(outputs.get(program, []), pattern)
        if value is None:
            why = "did not run" if program not in outputs else "line not printed"
            print(f"| {path} | {peer} | - | {goal_text} | not measured ({why}) | `{program}` |")
            continue
        met = value >= goal if cmp == ">=" else value <= goal
        shown = line.replace("|", "\\|")
        print(f"| {path} | {peer} | {value:g}{unit} | {goal_text} | {'met' if met else 'not met'} | "
              f"`{program}`: `{shown}` |")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
