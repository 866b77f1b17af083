#pragma once
// PONDORIX_ADDRESS_SANITIZER is 1 in a build with AddressSanitizer, 0 in any other. GCC says so
// with __SANITIZE_ADDRESS__, clang only through __has_feature.

#if defined(__SANITIZE_ADDRESS__)
#define PONDORIX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PONDORIX_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef PONDORIX_ADDRESS_SANITIZER
#define PONDORIX_ADDRESS_SANITIZER 0
#endif
