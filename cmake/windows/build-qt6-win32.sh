#!/bin/bash
# Cross-builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, Sql with the SQLite and ODBC drivers, Test) for
# Windows x86 (32-bit) from Debian 12's own source packages with Debian's MinGW-w64, into /opt/qt6-win32, and
# packs it as qt6-win32-6.4.2-mingw.tar.zst in the current folder. About an hour on two cores.
# Needs root (apt-get) and a deb-src entry for the same archive as the binary packages.
set -euo pipefail
out=$PWD
WORK=${WORK:-$PWD/qt6-win32-work}
PREFIX=/opt/qt6-win32
here=$(cd "$(dirname "$0")" && pwd)
apt-get install -y --no-install-recommends g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix \
  qt6-base-dev-tools zstd tcl dpkg-dev
mkdir -p "$WORK/src" "$WORK/build" "$PREFIX"
cd "$WORK/src"
apt-get source qt6-base sqlite3            # qt6-base 6.4.2+dfsg-10, sqlite3 3.40.1
SRC=$(ls -d "$WORK"/src/qt6-base-6.4.2*/ | head -n 1); SRC=${SRC%/}
# Debian's +dfsg source leaves out Qt's copy of SQLite: make the amalgamation from Debian's sqlite3 source.
mkdir -p sqlite-build && cd sqlite-build
"$(ls -d "$WORK"/src/sqlite3-3.*/ | head -n 1)"configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null
mkdir -p "$SRC/src/3rdparty/sqlite" && cp sqlite3.c sqlite3.h sqlite3ext.h "$SRC/src/3rdparty/sqlite/"
cp "$here/mingw32-toolchain.cmake" "$PREFIX/mingw-toolchain.cmake"
cd "$WORK/build"
# Build paths are mapped to neutral names so that none ends up in the libraries.
MAP="-ffile-prefix-map=$SRC=/usr/src/qtbase -ffile-prefix-map=$WORK/build=/usr/src/qtbase-build"
nice -n 15 "$SRC/configure" -prefix "$PREFIX" -release -xplatform win32-g++ -qt-host-path /usr \
  -nomake examples -nomake tests -no-opengl -no-dbus -no-feature-vulkan -no-feature-tabletevent \
  -no-feature-network -no-feature-xml -no-feature-concurrent -no-feature-printsupport \
  -sql-sqlite -sql-odbc -no-sql-psql -no-sql-mysql -no-sql-ibase -no-sql-oci -no-sql-db2 -qt-sqlite \
  -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-doubleconversion \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PREFIX/mingw-toolchain.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "-DCMAKE_C_FLAGS=$MAP" "-DCMAKE_CXX_FLAGS=$MAP"
nice -n 15 ninja -j2
cmake --install .
G=/usr/lib/gcc/i686-w64-mingw32/12-posix
cp $G/libstdc++-6.dll $(ls $G/libgcc_s_*.dll) /usr/i686-w64-mingw32/lib/libwinpthread-1.dll "$PREFIX/bin/"
find "$PREFIX" -name '*.dll' -exec i686-w64-mingw32-strip --strip-unneeded {} +
grep -rlF -e "$SRC" -e "$WORK/build" "$PREFIX" | xargs -r sed -i -e "s|$SRC|/usr/src/qtbase|g" -e "s|$WORK/build|/usr/src/qtbase-build|g"
tar -C /opt -cf - qt6-win32 | zstd -19 -T2 -q -o "$out/qt6-win32-6.4.2-mingw.tar.zst"
