/* The floor: the least a client can do for one AT round trip on a pty. It
 * writes the command line and reads until the final OK, with blocking calls
 * and no parsing beyond finding the end of the answer.
 *
 * With --epoll it is the least an event-loop client can do instead: the
 * descriptor is non-blocking and every read waits first in epoll_wait, as a
 * client serving many lines from one thread must. The difference between the
 * two is the price of the event loop itself, before any library code.
 *
 * usage: floor_client DEVICE ROUND_TRIPS [WARMUP] [--epoll]
 * Prints one CSV line: client,round_trips,wall_s,user_s,sys_s,bad_answers */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

static const char kCommand[] = "AT+CSQ\r";
static int waitSet = -1; /* the epoll set with --epoll, else -1 */

/* Waits until the device has something to read, when an event loop is used. */
static void awaitReadable(void)
{
    struct epoll_event event;
    if (waitSet >= 0 && epoll_wait(waitSet, &event, 1, -1) < 0) {
        perror("floor_client: epoll_wait");
        exit(1);
    }
}

/* Reads until the answer ends with a final result; 1 when it was OK. */
static int readAnswer(int fd)
{
    char answer[1024];
    size_t length = 0;
    for (;;) {
        awaitReadable();
        ssize_t n = read(fd, answer + length, sizeof answer - 1 - length);
        if (n < 0 && errno == EAGAIN)
            continue;
        if (n <= 0) {
            perror("floor_client: read");
            exit(1);
        }
        length += (size_t)n;
        answer[length] = '\0';
        if (strstr(answer, "OK\r\n") != NULL)
            return strstr(answer, "+CSQ: ") != NULL;
        if (strstr(answer, "ERROR") != NULL || length == sizeof answer - 1)
            return 0;
    }
}

static int roundTrip(int fd, const char* command)
{
    if (write(fd, command, strlen(command)) != (ssize_t)strlen(command)) {
        perror("floor_client: write");
        exit(1);
    }
    return readAnswer(fd);
}

static double seconds(struct timeval t) { return (double)t.tv_sec + (double)t.tv_usec / 1e6; }

int main(int argc, char** argv)
{
    int useEpoll = argc > 3 && strcmp(argv[argc - 1], "--epoll") == 0;
    argc -= useEpoll;
    if (argc < 3) {
        fprintf(stderr, "usage: floor_client DEVICE ROUND_TRIPS [WARMUP] [--epoll]\n");
        return 2;
    }
    const long roundTrips = atol(argv[2]);
    const long warmup = argc > 3 ? atol(argv[3]) : 100;

    int fd = open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0) {
        perror("floor_client: open");
        return 1;
    }
    struct termios settings;
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    tcflush(fd, TCIOFLUSH);
    if (useEpoll) {
        /* Level-triggered, so a wait after a short read sees what is left. */
        struct epoll_event event = {.events = EPOLLIN, .data.fd = fd};
        waitSet = epoll_create1(0);
        if (waitSet < 0 || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) < 0 ||
            epoll_ctl(waitSet, EPOLL_CTL_ADD, fd, &event) < 0) {
            perror("floor_client: epoll");
            return 1;
        }
    }

    roundTrip(fd, "ATE0\r");
    for (long i = 0; i < warmup; ++i)
        roundTrip(fd, kCommand);

    struct rusage before, after;
    struct timespec start, stop;
    getrusage(RUSAGE_SELF, &before);
    clock_gettime(CLOCK_MONOTONIC, &start);
    long bad = 0;
    for (long i = 0; i < roundTrips; ++i)
        bad += !roundTrip(fd, kCommand);
    clock_gettime(CLOCK_MONOTONIC, &stop);
    getrusage(RUSAGE_SELF, &after);

    printf("%s,%ld,%.6f,%.6f,%.6f,%ld\n", useEpoll ? "floor-epoll" : "floor", roundTrips,
           (double)(stop.tv_sec - start.tv_sec) + (double)(stop.tv_nsec - start.tv_nsec) / 1e9,
           seconds(after.ru_utime) - seconds(before.ru_utime), seconds(after.ru_stime) - seconds(before.ru_stime), bad);
    close(fd);
    return 0;
}
