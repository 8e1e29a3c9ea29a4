#!/usr/bin/env python3
"""Counts CTest JUnit reports and refuses skips that hide an unrun check.

    ctest-summary.py <label> <report.xml>... [--log <ctest output>] [--cases]

Prints "<label>: N passed, N failed, N skipped" over all the reports (one
per CTest run of the same tree) and exits 1 when a test
skipped for a reason the test command is meant to provide (a display, the
demo data, xdotool...). Only the reasons below, which no harness can change,
may skip. GoogleTest programs that run many cases in one CTest entry (the
Windows programs) are searched for skipped cases too; with --cases the line
also counts the cases those programs passed.

With --log (CTest's own output of the runs, some with --repeat until-pass:N)
a second line names the tests that passed only on a later attempt: the JUnit
report keeps only the last attempt, so without it a flaky test would look
clean.
"""
import re
import sys
import xml.etree.ElementTree as ET

# Skips no test harness can remove: the machine's word size, devices, a
# joystick that happens to be attached, or a processor without AVX2.
ALLOWED_SKIP = re.compile(r"fits 32 bits|no /dev/full|a joystick is attached|does not run AVX2")

# GoogleTest prints "<file>:<line>: Skipped" followed by the message.
SKIP_LINE = re.compile(r":\d+: Skipped\s*\n(.*)")

# GoogleTest's closing line: "[  PASSED  ] 12 tests."
PASSED_CASES = re.compile(r"^\[  PASSED  \] (\d+) tests?\.", re.MULTILINE)

# One attempt's result line in CTest's output, with or without the "3/10 "
# progress count (a rerun has none):
#   "  3/10 Test  #7: Suite.Case ........   Passed    0.10 sec"
#   "       Test  #7: Suite.Case ........***Failed    0.10 sec"
ATTEMPT = re.compile(r"^\s*(?:\d+/\d+\s+)?Test\s+#(\d+): (\S+?) ?\.*\s*(Passed|\*\*\*[^\d]*?|Not Run[^\d]*?)\s+[\d.]+ sec")


def skipped_reasons(output):
    reasons = SKIP_LINE.findall(output or "")
    return reasons if reasons else ([] if "[  SKIPPED ]" not in (output or "") else ["(no reason given)"])


def passed_on_rerun(log_path):
    """Names of the tests whose last attempt passed after an earlier one did not."""
    attempts = {}
    with open(log_path, encoding="utf-8", errors="replace") as log:
        for line in log:
            m = ATTEMPT.match(line)
            if m:
                attempts.setdefault(m.group(1), (m.group(2), []))[1].append(m.group(3).strip())
    return sorted(name for name, results in attempts.values()
                  if len(results) > 1 and results[-1] == "Passed")


def main():
    args = sys.argv[1:]
    count_cases = "--cases" in args
    args = [a for a in args if a != "--cases"]
    log_path = None
    if "--log" in args:
        i = args.index("--log")
        log_path = args[i + 1]
        del args[i:i + 2]
    label, paths = args[0], args[1:]
    cases = []
    for path in paths:
        try:
            cases.extend(ET.parse(path).getroot().iter("testcase"))
        except (OSError, ET.ParseError) as e:
            print(f"{label}: no test report ({e})")
            return 1
    passed = failed = skipped = gtest_passed = 0
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
            gtest_passed += sum(int(n) for n in PASSED_CASES.findall(out))
        for reason in skipped_reasons(out) if status != "fail" else []:
            if not ALLOWED_SKIP.search(reason):
                hidden.append(f"{case.get('name')}: {reason.strip()}")
    cases_note = f" ({gtest_passed} cases passed in them)" if count_cases else ""
    print(f"{label}: {passed} passed{cases_note}, {failed} failed, {skipped} skipped")
    if log_path is not None:
        try:
            flaky = passed_on_rerun(log_path)
        except OSError as e:
            print(f"  passed only on their rerun: unknown, no CTest output ({e})")
            return 1
        names = f": {', '.join(flaky)}" if flaky else ""
        print(f"  passed only on their rerun: {len(flaky)}{names}")
    for h in hidden:
        print(f"  SKIPPED although the harness provides what it needs: {h}")
    return 1 if hidden else 0


if __name__ == "__main__":
    sys.exit(main())
