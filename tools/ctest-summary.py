#!/usr/bin/env python3
"""Counts a CTest JUnit report and refuses skips that hide an unrun check.

    ctest-summary.py <label> <report.xml>

Prints one line "<label>: N passed, N failed, N skipped" and exits 1 when a
test skipped for a reason the test command is meant to provide (a display,
the demo data, xdotool...). Only the reasons below, which no harness can
change, may skip. GoogleTest programs that run many cases in one CTest entry
(the Windows programs) are searched for skipped cases too.
"""
import re
import sys
import xml.etree.ElementTree as ET

# Skips no test harness can remove: the machine's word size, devices or a
# joystick that happens to be attached.
ALLOWED_SKIP = re.compile(r"fits 32 bits|no /dev/full|a joystick is attached")

# GoogleTest prints "<file>:<line>: Skipped" followed by the message.
SKIP_LINE = re.compile(r":\d+: Skipped\s*\n(.*)")


def skipped_reasons(output):
    reasons = SKIP_LINE.findall(output or "")
    return reasons if reasons else ([] if "[  SKIPPED ]" not in (output or "") else ["(no reason given)"])


def main():
    label, path = sys.argv[1], sys.argv[2]
    try:
        cases = ET.parse(path).getroot().iter("testcase")
    except (OSError, ET.ParseError) as e:
        print(f"{label}: no test report ({e})")
        return 1
    passed = failed = skipped = 0
    hidden = []
    for case in cases:
        status = case.get("status", "")
        out = case.findtext("system-out") or ""
        if status == "fail" or case.find("failure") is not None:
            failed += 1
        elif status in ("notrun", "disabled") or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
        for reason in skipped_reasons(out) if status != "fail" else []:
            if not ALLOWED_SKIP.search(reason):
                hidden.append(f"{case.get('name')}: {reason.strip()}")
    print(f"{label}: {passed} passed, {failed} failed, {skipped} skipped")
    for h in hidden:
        print(f"  SKIPPED although the harness provides what it needs: {h}")
    return 1 if hidden else 0


if __name__ == "__main__":
    sys.exit(main())
