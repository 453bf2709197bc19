#ifndef VELMO_CORE_PLATFORM_H
#define VELMO_CORE_PLATFORM_H

// The one place for compiler-specific spellings.

#if defined(_MSC_VER)
#define VELMO_FUNCTION_SIGNATURE __FUNCSIG__
#else
#define VELMO_FUNCTION_SIGNATURE __PRETTY_FUNCTION__
#endif

#endif
