#!/usr/bin/env bash
# The package's strip, as Debian's own packages strip their programs: no symbols, no
# compiler notes. CPack calls it on every program it ships (CMAKE_STRIP).
exec strip --remove-section=.comment --remove-section=.note --strip-unneeded "$@"
