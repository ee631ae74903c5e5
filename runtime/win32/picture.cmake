# vx_picture: JPEG/PNG decoding into BGRA pixels (picture.h), on the
# cross-built libjpeg-turbo and libpng.
include_guard(GLOBAL)
include(${PROJECT_SOURCE_DIR}/cmake/deps.cmake)

add_library(vx_picture STATIC ${PROJECT_SOURCE_DIR}/runtime/win32/picture.cpp)
target_include_directories(vx_picture PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(vx_picture PRIVATE ${PRODUCT_CXX_FLAGS})
target_link_libraries(vx_picture PUBLIC vx::jpeg vx::png)
