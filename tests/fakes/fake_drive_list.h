// fake_drive_list.h -- a scripted drive list for the logic tests.
#pragma once
#include <string>
#include <vector>
#include "platform/drive_list.h"

// The mount points the next reads return, as given (no sorting). Default: just "/".
void setFakeDrives(const std::vector<std::string> &mountPoints);

// Makes the next reads fail as if the mount table could not be read.
void failFakeDriveList();

void resetFakeDriveList();
