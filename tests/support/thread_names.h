// thread_names.h -- the names of this process's threads, as system tools show them.
#pragma once
#include <string>
#include <vector>

// The name of every thread of this process, read from /proc/self/task.
std::vector<std::string> threadNames();

// How many threads of this process carry the given name.
int threadsNamed(const std::string &name);
