#!/bin/bash
# Checks what a user installs: the install tree (cmake --install into a fresh prefix; make install, with
# PREFIX and DESTDIR, gives the same files) or the Debian package (cpack, unpacked with dpkg-deb -x into a
# fresh root). Both must hold exactly the expected files, a desktop entry that desktop-file-validate
# accepts, and a launcher that starts the game from any folder.
#
#   install-check.sh install|deb BUILD_DIR SOURCE_DIR E2E_SCRIPT CLOSE_REQUEST
#   install-check.sh after-run BUILD_DIR    what make run built installs: the install succeeds, and the
#                                           game, its launcher and the tournament tool are there
#   install-check.sh lintian BUILD_DIR      lintian finds no error and no warning in the package
set -u
mode=$1
build_dir=$2
source_dir=${3:-}
e2e=${4:-}
close_request=${5:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL ($mode): $*"
    exit 1
}

# package: the Debian package of the build, made by cpack into the scratch folder, in $deb.
package() {
    cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack failed"; }
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
    deb="$work/package/quorvel_${version}_amd64.deb"
    [ -f "$deb" ] || fail "no package named $(basename "$deb"): $(ls "$work/package")"
}

if [ "$mode" = lintian ]; then
    command -v lintian >/dev/null 2>&1 || fail "lintian is not installed (scripts/install-deps --lint installs it)"
    package
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 ||
        { cat "$work/lintian.txt"; fail "lintian reports errors or warnings"; }
    echo "PASS ($mode)"
    exit 0
fi

if [ "$mode" = after-run ]; then
    cmake --install "$build_dir" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "cmake --install failed after make run's build"; }
    for program in games/quorvel lib/quorvel/quorvel bin/quorvel-tournament; do
        [ -x "$work/prefix/$program" ] || fail "$program was not installed"
    done
    echo "PASS ($mode)"
    exit 0
fi

case "$mode" in
install)
    prefix="$work/prefix"
    cmake --install "$build_dir" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
    # make install does the same, into /usr/local unless PREFIX says otherwise, under DESTDIR.
    for variables in "DESTDIR=$work/staged" "PREFIX=$prefix DESTDIR=$work/staged"; do
        # shellcheck disable=SC2086 # one variable per word
        env -u MAKEFLAGS -u MAKELEVEL make -s -C "$source_dir" install BUILD_DIR="$build_dir" $variables \
            >"$work/make.log" 2>&1 || { cat "$work/make.log"; fail "make install $variables failed"; }
    done
    for installed in "$work/staged/usr/local" "$work/staged$prefix"; do
        diff -r "$prefix" "$installed" >"$work/diff.log" 2>&1 ||
            { cat "$work/diff.log"; fail "make install put into $installed other files than cmake --install"; }
    done
    ;;
deb)
    package
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    required="libstdc++6 libc6"
    # dpkg-shlibdeps can name SFML's packages only for an SFML that Debian's packages installed: then the
    # package must depend on the package of each module that the program loads.
    for module in graphics window system; do
        library=$(ldd "$build_dir/quorvel" | sed -n "s|.*\(libsfml-$module\.so[^ ]*\) => .*|\1|p" | head -1)
        owner=$(dpkg-query -S "*/$library" 2>/dev/null | head -1 | cut -d: -f1)
        if [ -n "$library" ] && [ -n "$owner" ]; then
            required="$required $owner"
        else
            echo "SFML's $module module is not Debian's here, so the package's dependency on it is not checked"
        fi
    done
    for library in $required; do
        echo "$depends" | grep -q "$library" || fail "the package does not depend on $library"
    done
    [ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "the package has no maintainer"
    [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "the package has no description"
    [ "$(dpkg-deb -f "$deb" Recommends)" = "xvfb" ] || fail "the package does not recommend xvfb"
    dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x failed"
    prefix="$work/root/usr"
    ;;
*)
    echo "usage: install-check.sh install|deb BUILD_DIR SOURCE_DIR E2E_SCRIPT CLOSE_REQUEST"
    exit 2
    ;;
esac

expected="bin/quorvel-tournament
games/quorvel
lib/quorvel/quorvel
share/applications/quorvel.desktop
share/doc/quorvel/OFL.txt
share/doc/quorvel/README.md
share/doc/quorvel/changelog.gz
share/doc/quorvel/copyright
share/lintian/overrides/quorvel
share/man/man1/quorvel-tournament.1.gz
share/man/man6/quorvel.6.gz
share/icons/hicolor/16x16/apps/quorvel.png
share/icons/hicolor/24x24/apps/quorvel.png
share/icons/hicolor/32x32/apps/quorvel.png
share/icons/hicolor/128x128/apps/quorvel.png
share/icons/hicolor/256x256/apps/quorvel.png
share/icons/hicolor/48x48/apps/quorvel.png
share/quorvel/assets/fonts/OFL.txt
share/quorvel/assets/fonts/pixelated.ttf
share/quorvel/assets/textures/objects.png"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$(echo "$expected" | LC_ALL=C sort)" ] || fail "unexpected files:
$(diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual"))"
[ -x "$prefix/games/quorvel" ] && [ -x "$prefix/lib/quorvel/quorvel" ] && [ -x "$prefix/bin/quorvel-tournament" ] ||
    fail "the launcher, the program or the tournament tool is not executable"
for page in man6/quorvel.6 man1/quorvel-tournament.1; do
    MANWIDTH=80 man -l "$prefix/share/man/$page.gz" 2>/dev/null | grep -q "QUORVEL\|quorvel" ||
        fail "man cannot show $page"
done
man -l "$prefix/share/man/man1/quorvel-tournament.1.gz" 2>/dev/null | grep -q -- "--merge" ||
    fail "the tournament's manual page does not describe --merge"
man -l "$prefix/share/man/man1/quorvel-tournament.1.gz" 2>/dev/null | grep -q -- "--record" ||
    fail "the tournament's manual page does not describe --record"
cmp -s "$prefix/share/quorvel/assets/textures/objects.png" "$source_dir/assets/textures/objects.png" ||
    fail "the installed sprite sheet differs from the project's"
for size in 16 24 32 48 128 256; do
    [ "$(identify -format "%wx%h" "$prefix/share/icons/hicolor/${size}x${size}/apps/quorvel.png")" = "${size}x${size}" ] ||
        fail "the ${size}x${size} icon has the wrong size"
done
desktop-file-validate "$prefix/share/applications/quorvel.desktop" || fail "desktop-file-validate refused the entry"

"$e2e" "$prefix/games/quorvel" "$close_request" "$source_dir" launcher || fail "the installed launcher failed"
echo "PASS ($mode)"
