/* A tiny extension module for the module loader's tests. */

int pondorix_test_module_answer(void) {
    return 42;
}
