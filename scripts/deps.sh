#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ qtbase5-dev qtbase5-dev-tools libqt5sql5-sqlite
      qttools5-dev qttools5-dev-tools qttranslations5-l10n qtdeclarative5-dev
      g++-mingw-w64-i686 xvfb xauth libqxmpp-dev prosody lua-unbound openssl "$@")
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    # Installing prosody would start the system's server on a machine with an init system;
    # the project runs its own (scripts/server.sh), so no service is started here.
    blocker=""
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        blocker=/usr/sbin/policy-rc.d
        printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$blocker" >/dev/null
        $SUDO chmod +x "$blocker"
    fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
    [ -z "$blocker" ] || $SUDO rm -f "$blocker"
fi
