#!/usr/bin/env bash
# Compiles the launcher's Win32 branch, the engine header and the whiteboard library's header
# for the real target, 32-bit Windows, with Debian's MinGW cross compiler (package
# g++-mingw-w64-i686). The headers' static_asserts then check the record and table layouts
# with 4-byte pointers.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cxx="${MINGW_CXX:-i686-w64-mingw32-g++}"
if ! command -v "$cxx" >/dev/null; then
    echo "mingw-check: $cxx not found (Debian: apt-get install g++-mingw-w64-i686)" >&2
    exit 1
fi
flags=(-std=c++17 -Wall -Wextra -Wpedantic -Wshadow -Wcast-align -Wformat=2 -Werror)
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

# The engine header on its own, plus what only holds with 32-bit pointers.
cat > "$out/zssdk_layout.cpp" <<'CPP'
#include "ZSsdk.h"

static_assert(sizeof(void *) == 4, "the engine's target is 32-bit Windows");
static_assert(sizeof(ZS_Callback) == 4, "callback table entries are 4 bytes");
static_assert(sizeof(ZS_GeneralCallBack) == 64, "general table: 16 entries of 4 bytes");
static_assert(sizeof(ZS_ConfCallBack) == 228, "conference table: 228 bytes");
CPP

status=0
compile() {
    local src="$1"; shift
    if "$cxx" "${flags[@]}" "$@" -c "$src" -o "$out/$(basename "$src").o"; then
        echo "mingw-check: ok   $src"
    else
        echo "mingw-check: FAIL $src" >&2
        status=1
    fi
}
compile "$root/launcher/platform/platform_win32.cpp" -I"$root/launcher"
compile "$out/zssdk_layout.cpp" -I"$root/agent/core"

# The whiteboard library's header: its table positions hold with 4-byte pointers too.
cat > "$out/wbss_layout.cpp" <<'CPP'
#include "wbss.h"

static_assert(sizeof(WbssCallbackTable) == 43 * 4, "whiteboard table: 43 entries of 4 bytes");
CPP
compile "$out/wbss_layout.cpp" -I"$root/sim/wbss"
exit $status
