// Mesa's software driver keeps a few allocations until its module is unloaded at exit, where the
// leak checker finds them without a module to name or suppress. This program, which draws into a
// real window, therefore runs without the leak check (the sanitizer defaults of every test
// program, tests/support/startup/SanitizerDefaults.cpp, ask for this mark); address errors are
// still caught.
extern "C" const bool pondorix_without_leak_check = true;
