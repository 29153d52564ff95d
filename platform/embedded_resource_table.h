// embedded_resource_table.h -- the table of files compiled into the program (generated source).
#pragma once
#include <cstddef>

struct EmbeddedResource {
    const char *type;           // resource type, e.g. "TEXTURES"
    int id;                     // numeric resource id
    const unsigned char *bytes; // read-only, lives as long as the program
    size_t size;
};

// Ends with an entry whose type is null.
extern const EmbeddedResource embeddedResources[];
