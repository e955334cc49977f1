#!/bin/sh
# Runs Wine's loader (NIREVO_WINE_LOADER, set by use_prefix in wine-env.sh)
# with the address layout of Linux processes fixed, for it and for every
# program it starts (a personality is inherited).
#
# Debian's Wine is built without Wine's preloader, so nothing keeps the
# areas Wine must have at fixed addresses free until Wine maps them. Newer
# kernels place a 64-bit process's heap anywhere in the gigabyte above
# Wine's loader (at 0x7d000000), and now and then it lands on the page where
# Wine maps the shared user data (0x7ffe0000): the program never starts
# ("failed to map the shared user data: c0000018"), and a test fails
# through no fault of its own, about once in some thousands of starts.
# Without randomization the heap always starts right after the loader.
exec setarch -R "${NIREVO_WINE_LOADER:?set by use_prefix}" "$@"
