/* minidev: the smallest AT device there is, on a pseudo-terminal. Every
 * command line (ended by CR or LF) is answered with the same signal answer and
 * OK, so the device side costs the same whichever client talks to it.
 *
 * Prints the slave path on stdout, then serves clients one after another
 * until it is killed. Between clients the master reads EIO (no slave open);
 * the device then waits a millisecond and tries again. */
#define _XOPEN_SOURCE 600
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static const char kAnswer[] = "\r\n+CSQ: 23,99\r\n\r\nOK\r\n";

static int writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        data += n;
        size -= (size_t)n;
    }
    return 0;
}

static void waitForClient(void)
{
    const struct timespec pause = {0, 1000000};
    nanosleep(&pause, NULL);
}

int main(void)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        perror("minidev: pseudo-terminal");
        return 1;
    }
    printf("%s\n", ptsname(master));
    fflush(stdout);

    char buffer[512];
    size_t lineLength = 0;
    for (;;) {
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EIO) { /* no client has the slave open */
                lineLength = 0;
                waitForClient();
                continue;
            }
            perror("minidev: read");
            return 1;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\r' && buffer[i] != '\n') {
                ++lineLength;
                continue;
            }
            if (lineLength == 0)
                continue;
            lineLength = 0;
            if (writeAll(master, kAnswer, sizeof kAnswer - 1) != 0 && errno != EIO) {
                perror("minidev: write");
                return 1;
            }
        }
    }
}
