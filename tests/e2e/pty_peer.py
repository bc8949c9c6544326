#!/usr/bin/env python3
"""The far end of a test serial port: a pseudo-terminal pair whose slave
Wine opens as a COM port. Writes the slave's path to LINKFILE, appends every
byte the program sends to LOG, writes the bytes of LOG.send to the program
whenever that file appears (and removes it), and ends when LOG.stop appears
or after 120 s."""
import os, pty, select, sys, time, tty

link, log = sys.argv[1], sys.argv[2]
master, slave = pty.openpty()
tty.setraw(slave)
tty.setraw(master)
with open(link + ".tmp", "w") as f:
    f.write(os.ttyname(slave))
os.rename(link + ".tmp", link)
end = time.time() + 120
with open(log, "ab", buffering=0) as out:
    while time.time() < end and not os.path.exists(log + ".stop"):
        r, _, _ = select.select([master], [], [], 0.02)
        if r:
            try:
                out.write(os.read(master, 4096))
            except OSError:
                pass
        if os.path.exists(log + ".send"):
            with open(log + ".send", "rb") as f:
                data = f.read()
            os.remove(log + ".send")
            os.write(master, data)
