#!/usr/bin/python3
"""A folder on a share whose host has gone: one file, listed with its real size, whose reads
never return. Each open and read is noted in LOG, so a test can tell that the program got as
far as the read that hangs.

    stalled_share.py MOUNTPOINT FILE LOG

Stays in the foreground until the connection is aborted (/sys/fs/fuse/connections/N/abort)
or it is killed: a read blocked here can only be freed that way. It also ends when the test
that started it goes, however it went: a stalled mount left behind would hang every later
program that looks at the folder above it.
"""
import errno
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations


class StalledShare(Operations):
    def __init__(self, source, log):
        self.name = "/" + os.path.basename(source)
        self.size = os.path.getsize(source)
        self.log = log
        self.never = threading.Event()

    def note(self, what):
        with open(self.log, "a", encoding="utf-8") as f:
            f.write(what + "\n")

    def getattr(self, path, fh=None):
        if path == "/":
            return {"st_mode": stat.S_IFDIR | 0o755, "st_nlink": 2}
        if path == self.name:
            return {"st_mode": stat.S_IFREG | 0o444, "st_nlink": 1, "st_size": self.size}
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", "..", self.name[1:]]

    def open(self, path, flags):
        self.note("open")
        return 0

    def read(self, path, size, offset, fh):
        self.note("read")
        self.never.wait()
        return b""


def end_with_parent():
    parent = os.getppid()
    while os.getppid() == parent:
        time.sleep(0.5)
    os._exit(0)  # the kernel then fails every request on the mount instead of waiting


if __name__ == "__main__":
    mountpoint, source, log = sys.argv[1:4]
    threading.Thread(target=end_with_parent, daemon=True).start()
    FUSE(StalledShare(source, log), mountpoint, foreground=True, ro=True, direct_io=True)
