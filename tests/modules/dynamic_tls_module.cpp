// dynamic_tls_module.cpp -- a library with thread-local storage of its own, loaded at run time by
// the sanitizer-settings test: each thread's block of it is allocated with malloc on first use.
extern "C" {

thread_local long dynamicTlsBlock[2];

long *dynamicTlsBlockOfThisThread() {
    return dynamicTlsBlock;
}
}
