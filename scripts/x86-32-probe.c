/* Exits 0 when this machine runs 32-bit x86 code inside a 64-bit process, as Wine needs
 * for 32-bit Windows programs, and 1 when it does not (a kernel without IA-32 emulation,
 * or a hypervisor that leaves it out). Wine needs two things, each tried in a child:
 * the 32-bit system call entry (int 0x80, which it uses to set up a 32-bit thread's
 * segment) and the 32-bit user code segment (selector 0x23). */
#define _GNU_SOURCE
#include <signal.h>
#include <stdint.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

/* Runs `attempt` in a child; true when the child ended as `expected` says. */
static int child_ends(void (*attempt)(void), int (*expected)(int status)) {
    const pid_t child = fork();
    if (child == 0) {
        const struct rlimit noCore = {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        attempt();
        _exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && expected(status);
}

/* getpid in the 32-bit numbering; a machine without the entry kills the child. */
static void system_call_entry(void) {
    long result = 20;
    __asm__ volatile("int $0x80" : "+a"(result) : : "memory");
}
static int exited_normally(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

/* A far return into the 32-bit code segment, to an int3 there: SIGTRAP if it ran. */
static unsigned char *g_code;
static void code_segment(void) {
    __asm__ volatile("pushq $0x23\n\tpushq %0\n\tlretq" : : "r"((uint64_t)(uintptr_t)g_code));
}
static int trapped(int status) { return WIFSIGNALED(status) && WTERMSIG(status) == SIGTRAP; }

int main(void) {
    g_code = mmap(NULL, 4096, PROT_READ | PROT_WRITE | PROT_EXEC,
                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (g_code == MAP_FAILED) return 1;
    g_code[0] = 0xCC; /* int3 */
    return child_ends(system_call_entry, exited_normally) && child_ends(code_segment, trapped)
               ? 0
               : 1;
}
