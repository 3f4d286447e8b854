// The image decoder the library links, built from its header so that the fuzz targets see it.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
