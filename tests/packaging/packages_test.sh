#!/usr/bin/env bash
# Makes the Debian packages from the build tree BUILD, unpacks them into a
# temporary root and runs the unpacked programs there.
#   packages_test.sh BUILD SOURCE
set -euo pipefail
build=$1
source=$2
for tool in cpack dpkg-deb readelf; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

work=$(mktemp -d)
cardd_pid=
cleanup() {
  if [ -n "$cardd_pid" ]; then kill "$cardd_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
root=$work/root
for package in qiantai-module qiantai-dev qiantai-host qiantai-cardd qiantai-sldll-simulator; do
  deb=$(ls "$work"/out/"$package"_*.deb 2>/dev/null | head -1)
  [ -n "$deb" ] || fail "no package $package"
  dpkg-deb -x "$deb" "$root"
  dpkg-deb -f "$deb" Package Version Architecture Depends >"$work/$package.control"
  [ -f "$root/usr/share/doc/$package/copyright" ] || fail "$package has no copyright file"
done

# Dependencies come from the libraries the binaries link (shlibdeps).
grep -q '^Depends:.*libqt6widgets6' "$work/qiantai-module.control" || fail "module depends: $(cat "$work/qiantai-module.control")"
grep -q '^Depends:.*qiantai-module (= ' "$work/qiantai-host.control" || fail "host does not depend on the module"
grep -q '^Depends:.*libsodium' "$work/qiantai-cardd.control" || fail "cardd depends: $(cat "$work/qiantai-cardd.control")"
grep -q '^Architecture: all' "$work/qiantai-dev.control" || fail "headers are not Architecture: all"
version=$(sed -n 's/^project(qiantai VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
grep -qx "Version: $version-1" "$work/qiantai-host.control" || fail "version is not the project's $version"

# The layout: programs in /usr/bin, the module and the simulator in the
# private folder, the headers, the unit, the configuration.
module=$(find "$root/usr/lib" -name libqiantai.so)
[ -n "$module" ] || fail "no libqiantai.so"
private=${module#"$root"/usr/lib/}
private=${private%/libqiantai.so}
for f in usr/bin/qiantai-host usr/bin/qiantai-cardd "usr/lib/$private/libqiantai.so" "usr/lib/$private/libsldll.so" \
         usr/include/qiantai/coordisp.h usr/include/qiantai/entry.h usr/lib/systemd/system/qiantai-cardd.service \
         usr/lib/sysusers.d/qiantai-cardd.conf etc/qiantai/qiantai-cardd.conf etc/qiantai/Quelmarpos.ini; do
  [ -e "$root/$f" ] || fail "missing /$f"
done

# No path of the build tree anywhere, and no RPATH but $ORIGIN-relative ones.
if grep -rlF "$build" "$root" >"$work/paths"; then fail "build paths in: $(cat "$work/paths")"; fi
for f in "$root"/usr/bin/* "$root/usr/lib/$private"/*.so; do
  readelf -d "$f" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p' | tr ':' '\n' | while read -r p; do
    case $p in '$ORIGIN'*) ;; *) fail "$(basename "$f") has the search path $p" ;; esac
  done
done

# The unpacked programs run from there: a demo store, a query on it, the
# card server's usage.
export QT_QPA_PLATFORM=offscreen QIANTAI_INI_DIR=$work/station/
mkdir -p "$work/station"
"$root/usr/bin/qiantai-host" init-demo --db "$work/store.db" --products 0 >"$work/init.log" 2>&1 || { cat "$work/init.log"; fail "init-demo"; }
"$root/usr/bin/qiantai-host" query --db "$work/store.db" "Select f_Csz From tbSysmsg Where f_Csmc = 'yckqzj'" >"$work/query.log" 2>&1 || { cat "$work/query.log"; fail "query"; }
grep -qx '127.0.0.1:8529' "$work/query.log" || fail "query answered: $(cat "$work/query.log")"
"$root/usr/bin/qiantai-cardd" --help >"$work/help.log" 2>&1 || fail "qiantai-cardd --help"
grep -q -- '--listen' "$work/help.log" || fail "qiantai-cardd --help: $(cat "$work/help.log")"
# The module and the simulator are found in the private folder.
printf '[CardTerminal]\nLibrary=libsldll.so\n' >"$work/station/Quelmarpos.ini"
"$root/usr/bin/qiantai-host" check --db "$work/store.db" >"$work/check.log" 2>&1 || true
grep -q '^ok    card terminal library libsldll.so' "$work/check.log" || { cat "$work/check.log"; fail "check does not find the simulator"; }
grep -q '^ok    sales module' "$work/check.log" || { cat "$work/check.log"; fail "check does not find the module"; }

# The service stops on SIGTERM with status 0.
"$root/usr/bin/qiantai-cardd" --db "$work/cards.sqlite" --listen 127.0.0.1 --port 0 >"$work/cardd.log" 2>&1 &
cardd_pid=$!
for _ in $(seq 100); do grep -q listening "$work/cardd.log" && break; sleep 0.1; done
grep -q listening "$work/cardd.log" || { cat "$work/cardd.log"; fail "qiantai-cardd did not start"; }
kill -TERM "$cardd_pid"
status=0
wait "$cardd_pid" || status=$?
cardd_pid=
[ "$status" -eq 0 ] || { cat "$work/cardd.log"; fail "qiantai-cardd ended with $status on SIGTERM"; }

# The unit, pointed at the unpacked program.
if command -v systemd-analyze >/dev/null; then
  sed "s|/usr/bin/qiantai-cardd|$root/usr/bin/qiantai-cardd|" "$root/usr/lib/systemd/system/qiantai-cardd.service" \
    >"$work/qiantai-cardd.service"
  systemd-analyze verify "$work/qiantai-cardd.service" >"$work/verify.log" 2>&1 || { cat "$work/verify.log"; fail "systemd-analyze verify"; }
  if grep -v 'qiantai-cardd.conf' "$work/verify.log" | grep -q .; then cat "$work/verify.log"; fail "systemd-analyze verify warns"; fi
else
  echo "no systemd-analyze: the unit is not verified"
fi

# Lintian where it is installed: no errors.
if command -v lintian >/dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$work"/out/*.deb || fail "lintian"
fi
echo "packages ok"
