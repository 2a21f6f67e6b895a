// The one translation unit that holds tinygltf's implementation; its image
// reading and writing are switched off for the whole library in CMakeLists.txt.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
