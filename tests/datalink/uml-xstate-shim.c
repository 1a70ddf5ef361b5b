/* Preloaded into User-mode Linux's kernel process by uml-run.sh.
 *
 * The UML kernel saves and restores its guest processes' FPU state with
 * PTRACE_GETREGSET / PTRACE_SETREGSET on NT_X86_XSTATE, using a buffer of a
 * fixed size. The host kernel accepts a SETREGSET only with the host's whole
 * XSAVE area, and on CPUs with large state components (AVX-512, AMX) that
 * area is bigger than UML's buffer: the set fails with EFAULT and the guest's
 * init dies at its first context switch ("ptrace set fp regs failed").
 *
 * This wrapper gives such calls a buffer of the host's size: a get reads the
 * whole area and hands back the caller's share; a set reads the whole area,
 * lays the caller's bytes over its start and writes it whole. The components
 * beyond UML's buffer keep the values the traced process already holds. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <elf.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ptrace.h>
#include <sys/types.h>
#include <sys/uio.h>

typedef long (*PtraceFunction)(int, ...);

static PtraceFunction realPtrace(void)
{
    static PtraceFunction real;
    if (real == NULL)
        real = (PtraceFunction)dlsym(RTLD_NEXT, "ptrace");
    return real;
}

/* Room for any XSAVE area: the largest defined today is about 11 KiB. */
static __thread unsigned char whole[64 * 1024] __attribute__((aligned(64)));

/* The host's XSAVE area size for this tracee, as the kernel reports it. */
static size_t hostAreaSize(pid_t pid)
{
    struct iovec probe = {whole, sizeof whole};
    if (realPtrace()(PTRACE_GETREGSET, pid, (void*)NT_X86_XSTATE, &probe) != 0)
        return 0;
    return probe.iov_len;
}

long ptrace(enum __ptrace_request request, ...)
{
    va_list arguments;
    va_start(arguments, request);
    pid_t pid = va_arg(arguments, pid_t);
    void* address = va_arg(arguments, void*);
    void* data = va_arg(arguments, void*);
    va_end(arguments);

    int onXstate =
        (request == PTRACE_GETREGSET || request == PTRACE_SETREGSET) && (long)address == NT_X86_XSTATE && data != NULL;
    if (!onXstate)
        return realPtrace()(request, pid, address, data);

    struct iovec* callers = data;
    size_t size = hostAreaSize(pid); /* also reads the whole area into `whole` */
    if (size == 0 || callers->iov_len >= size)
        return realPtrace()(request, pid, address, data);
    if (request == PTRACE_GETREGSET) {
        memcpy(callers->iov_base, whole, callers->iov_len);
        return 0;
    }
    memcpy(whole, callers->iov_base, callers->iov_len);
    struct iovec full = {whole, size};
    return realPtrace()(PTRACE_SETREGSET, pid, address, &full);
}
