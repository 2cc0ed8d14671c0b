#pragma once
// A thread-local variable of the host library. The host library is linked by
// every program that uses it (modules loaded later find it loaded already), so
// its thread-local variables live in the threads' static block and are read
// at a fixed offset from the thread pointer, without the call into the
// dynamic linker that a library's thread-local variable costs by default.
// The variable must be constant-initialized (no constructor run per thread).
#define KOR_THREAD_LOCAL thread_local __attribute__((tls_model("initial-exec")))
