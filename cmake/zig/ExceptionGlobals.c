/* The C++ runtime's per-thread exception record (the exceptions being caught and the count of
 * those thrown but not yet caught), kept in the module's own thread-local storage.
 *
 * Zig's libc++abi keeps it behind a fiber-local storage slot whose destructor lies in this
 * module: once the host unloads the module, the next thread to end calls into unloaded code. That
 * slot is made on the first exception, which the module throws whenever the host refuses a call.
 * Defining the two functions here keeps the linker from taking libc++abi's, and a thread-local
 * record of plain data needs no destructor at all. */

/* libc++abi's __cxa_eh_globals, as laid out on every target but 32-bit Arm. */
struct ExceptionGlobals {
  void* caughtExceptions;
  unsigned int uncaughtExceptions;
};

static _Thread_local struct ExceptionGlobals threadGlobals;

struct ExceptionGlobals* __cxa_get_globals(void) { return &threadGlobals; }
struct ExceptionGlobals* __cxa_get_globals_fast(void) { return &threadGlobals; }
