#!/usr/bin/env bash
# Installs the Debian packages the build and the Wine test run need, plus any
# given as arguments. Asks apt only about what is missing, and runs
# `apt-get update` at most once. With TARNHOLT_NEED_DEB_SRC=1 it also makes
# sure a deb-src entry for the main archive exists (scripts/build-deps.sh
# fetches libjpeg-turbo's source from it).
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev googletest locales
  wine wine64 xvfb xauth x11-utils
  # Of wine's recommendations only what a GUI test run uses: the fonts Wine
  # substitutes for Tahoma and friends, X extensions, TLS for WinINet.
  fonts-wine fonts-liberation libgnutls30 libxrender1 libxrandr2 libxcursor1
  libxi6 libxfixes3 libxinerama1 libxcomposite1 libxxf86vm1 libfreetype6
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  # Multi-arch libraries list one line per architecture: the native one counts.
  if ! dpkg-query -W -f='${Status} ${Architecture}\n' "$p" 2>/dev/null |
       grep -qE "^install ok installed ($(dpkg --print-architecture)|all)$"; then
    missing+=("$p")
  fi
done

need_update=0
if [ "${TARNHOLT_NEED_DEB_SRC:-0}" = 1 ] &&
   ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "== adding a deb-src entry for $codename main"
  cat > /etc/apt/sources.list.d/tarnholt-deb-src.sources <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

# Wine takes the code page from LC_ALL=ru_RU.UTF-8 even without the glibc
# locale, but then it cannot map non-ASCII file names to the host (creating
# "Фото.jpg" fails with "path not found"). So the locale must exist.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\?8' && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "The ru_RU.UTF-8 locale is missing (as root: localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)" >&2
    return 1
  fi
  echo "== generating the ru_RU.UTF-8 locale"
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

[ ${#missing[@]} -gt 0 ] && need_update=1
if [ $need_update = 0 ]; then
  ensure_locale
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "Missing packages (run as root or install them): ${missing[*]:-deb-src index}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt_opts=(-o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
echo "== apt-get update"
apt-get "${apt_opts[@]}" update -qq
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  apt-get "${apt_opts[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
ensure_locale
