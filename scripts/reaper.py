#!/usr/bin/env python3
"""Runs a command as a child subreaper and tells the CPU time of the processes
it reaped.

Usage: reaper.py TICKS_FILE command [args...]

Under Wine every Windows process is a Unix process that its starter forks off
and leaves: orphaned, it is adopted by the nearest subreaper above it. This
script is that subreaper for the command's whole tree, so that when a Windows
process started below it ends (an encoder, say), its user and system time add
to this process's children's times. After each reaping TICKS_FILE holds the
sum of those times in clock ticks; the difference between two readings is the
CPU of the processes that ended in between. Ends with the command's exit
status, once the command itself has ended.
"""
import ctypes
import os
import sys

PR_SET_CHILD_SUBREAPER = 36


def reaped_ticks():
    times = os.times()
    return round((times.children_user + times.children_system) * os.sysconf("SC_CLK_TCK"))


def main():
    ticks_file, command = sys.argv[1], sys.argv[2:]
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        sys.exit("reaper.py: prctl(PR_SET_CHILD_SUBREAPER) failed")
    with open(ticks_file, "w") as out:
        out.write("0\n")
    child = os.fork()
    if child == 0:
        os.execvp(command[0], command)
    status = 0
    while True:
        try:
            pid, code = os.wait()
        except ChildProcessError:
            break
        with open(ticks_file + ".new", "w") as out:
            out.write("%d\n" % reaped_ticks())
        os.replace(ticks_file + ".new", ticks_file)
        if pid == child:
            status = os.waitstatus_to_exitcode(code)
            break
    sys.exit(status if status >= 0 else 128 - status)


if __name__ == "__main__":
    main()
