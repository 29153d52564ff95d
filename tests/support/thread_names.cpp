// thread_names.cpp -- /proc/self/task/<id>/comm of every thread.
#include "support/thread_names.h"

#include <dirent.h>
#include <fstream>

std::vector<std::string> threadNames() {
    std::vector<std::string> names;
    DIR *tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return names;
    while (dirent *task = readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        std::ifstream comm(std::string("/proc/self/task/") + task->d_name + "/comm");
        std::string name;
        if (std::getline(comm, name))
            names.push_back(name);
    }
    closedir(tasks);
    return names;
}

int threadsNamed(const std::string &name) {
    int count = 0;
    for (const std::string &thread : threadNames())
        count += thread == name;
    return count;
}
