/* Test harness only: a pseudo-terminal has no modem lines, so Wine's comm
 * calls on one fail. Preloaded into Wine, this answers the modem-line
 * ioctls on terminals whose driver refuses them: fixed CTS, DSR and DCD,
 * DTR/RTS kept as set, and an interrupt counter whose receive count grows
 * when input is waiting, so that waits for received characters end.
 *
 * It also keeps an output flush (PurgeComm's transmit purge) from taking
 * back bytes a write has already completed. On a serial port those bytes
 * are in the UART and go out; on a pseudo-terminal they sit in the
 * terminal until the peer reads them, and a flush a few microseconds later
 * would cut a command sent in pieces ("P", "0", CR, LF) to whatever the
 * peer had read by then. The input side is flushed as asked. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <linux/serial.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

static int (*real_ioctl)(int, unsigned long, ...);

#define MAX_FDS 1024
static int modem_bits[MAX_FDS];
static int last_inq[MAX_FDS];
static int rx_count[MAX_FDS];

int ioctl(int fd, unsigned long request, ...) {
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    if (!real_ioctl) real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    int r = real_ioctl(fd, request, arg);
    if (r == 0 || fd < 0 || fd >= MAX_FDS) return r;
    int saved = errno;
    if (request != TIOCMGET && request != TIOCMSET && request != TIOCMBIS && request != TIOCMBIC &&
        request != TIOCGICOUNT)
        return r;
    if (!isatty(fd)) {
        errno = saved;
        return r;
    }
    int *bits = (int *)arg;
    switch (request) {
        case TIOCMGET: *bits = modem_bits[fd] | TIOCM_CTS | TIOCM_DSR | TIOCM_CD; break;
        case TIOCMSET: modem_bits[fd] = *bits & (TIOCM_DTR | TIOCM_RTS); break;
        case TIOCMBIS: modem_bits[fd] |= *bits & (TIOCM_DTR | TIOCM_RTS); break;
        case TIOCMBIC: modem_bits[fd] &= ~*bits; break;
        case TIOCGICOUNT: {
            int inq = 0;
            real_ioctl(fd, FIONREAD, &inq);
            if (inq > 0 && inq != last_inq[fd]) rx_count[fd] += inq;
            last_inq[fd] = inq;
            struct serial_icounter_struct *ic = (struct serial_icounter_struct *)arg;
            memset(ic, 0, sizeof *ic);
            ic->rx = rx_count[fd];
            break;
        }
    }
    return 0;
}

static int (*real_tcflush)(int, int);

/* Only on a pseudo-terminal, the one kind of terminal that refuses the
 * modem-line ioctls. */
static int is_pty(int fd) {
    int bits;
    if (!real_ioctl) real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    return isatty(fd) && real_ioctl(fd, TIOCMGET, &bits) != 0;
}

int tcflush(int fd, int queue) {
    if (!real_tcflush) real_tcflush = (int (*)(int, int))dlsym(RTLD_NEXT, "tcflush");
    if ((queue == TCOFLUSH || queue == TCIOFLUSH) && is_pty(fd)) {
        if (queue == TCOFLUSH) return 0;
        queue = TCIFLUSH;
    }
    return real_tcflush(fd, queue);
}
