#!/usr/bin/env bash
# Builds the Debian package and checks it as a user meets it: lintian (errors fail), the desktop entry and
# the AppStream data, and a start of the installed program by an ordinary user. The program folder is not
# writable for that user, so settings.ini and data.db must appear in ~/.local/share/Zelkora/Quenvale/.
# Run as root (as CI does): it installs what is missing and starts the program as the user nobody.
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=com.zelkora.Quenvale
build_dir=${QUENVALE_BUILD_DIR:-build}

scripts/install-package-deps.sh
scripts/build.sh

echo "== Building the package"
rm -f "$build_dir"/quenvale_*.deb
(cd "$build_dir" && cpack -G DEB)
debs=("$build_dir"/quenvale_*.deb)
deb=${debs[0]}

echo "== lintian $(basename "$deb")"
lintian --fail-on error "$deb"

# Everything below lives in one folder under /tmp that the user nobody can reach.
work=$(mktemp -d -p /tmp quenvale-package.XXXXXX)
session=""
cleanup() {
  if [ -n "$session" ] && kill -0 -- "-$session" 2>/dev/null; then
    kill -KILL -- "-$session" 2>/dev/null || true
  fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

root=$work/root
echo "== Extracting into $root"
dpkg -x "$deb" "$root"

program_dir=$root/usr/lib/quenvale
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

[ "$(readlink "$root/usr/bin/quenvale")" = "../lib/quenvale/quenvale" ] || fail "usr/bin/quenvale is not the link to ../lib/quenvale/quenvale"
[ -x "$program_dir/quenvale" ] || fail "no executable in usr/lib/quenvale"
[ -f "$program_dir/empty.db" ] || fail "no empty.db beside the executable"
[ -d "$program_dir/Languages" ] || fail "no Languages folder beside the executable"
for icon in scalable/apps/quenvale.svg 16x16/apps/quenvale.png 48x48/apps/quenvale.png 256x256/apps/quenvale.png; do
  [ -f "$root/usr/share/icons/hicolor/$icon" ] || fail "icon $icon missing"
done
[ -f "$root/usr/share/doc/quenvale/copyright" ] || fail "no copyright file"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop entry"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "AppStream metadata"

# The installed tree is read-only, as /usr is for a user; the user's home, runtime and temporary folders
# are the user's own.
chmod -R a-w "$root"
user_id=$(id -u nobody)
group_id=$(id -g nobody)
home=$work/home
run=$work/run
mkdir -m 700 "$home" "$run" "$run/xdg" "$run/tmp"
chown -R "$user_id:$group_id" "$home" "$run"
if ! setpriv --reuid="$user_id" --regid="$group_id" --clear-groups -- test -x "$root/usr/bin/quenvale"; then
  echo "FAILED: the user nobody cannot reach $root/usr/bin/quenvale"
  exit 1
fi

echo "== Starting the installed program as nobody"
data_folder=$home/.local/share/Zelkora/Quenvale
pid_file=$run/program.pid
# A session of its own, so that everything started here can be ended together. The program writes its
# process id first, so that it alone is stopped and xvfb-run closes its X server itself. The online
# services are pointed at a closed local port.
setsid setpriv --reuid="$user_id" --regid="$group_id" --clear-groups -- \
  env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$run/xdg" TMPDIR="$run/tmp" QUENVALE_SERVICE_URL=http://127.0.0.1:9 \
  xvfb-run -a sh -c 'echo $$ > "$1"; exec "$2"' sh "$pid_file" "$root/usr/bin/quenvale" \
  > "$work/program.log" 2>&1 &
session=$!

program=""
for _ in $(seq 100); do
  [ -s "$pid_file" ] && { program=$(cat "$pid_file"); break; }
  kill -0 "$session" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$program" ]; then
  fail "the program did not start"
else
  # settings.ini is written about a second after the window shows.
  for _ in $(seq 100); do
    [ -f "$data_folder/settings.ini" ] && [ -f "$data_folder/data.db" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$program" 2>/dev/null || fail "the program ended on its own"
  ls -l "$data_folder" 2>/dev/null || true
  [ -f "$data_folder/data.db" ] || fail "no data.db in ~/.local/share/Zelkora/Quenvale"
  [ -f "$data_folder/settings.ini" ] || fail "no settings.ini in ~/.local/share/Zelkora/Quenvale"
  kill -TERM "$program" 2>/dev/null || true
fi

# xvfb-run ends with the program and stops its X server; whatever is left after a few seconds is killed.
for _ in $(seq 50); do
  kill -0 -- "-$session" 2>/dev/null || break
  sleep 0.1
done
if kill -0 -- "-$session" 2>/dev/null; then
  kill -KILL -- "-$session" 2>/dev/null || true
  fail "processes were left after the program ended"
fi
wait "$session" 2>/dev/null || true
session=""

if [ "$failures" -gt 0 ]; then
  echo "== Program output"
  cat "$work/program.log"
  echo "== Data folder"
  ls -la "$data_folder" 2>/dev/null || true
  echo "package test FAILED ($failures problems)"
  exit 1
fi
echo "package test OK: lintian and validation pass; the installed program keeps its data in the user's folder"
