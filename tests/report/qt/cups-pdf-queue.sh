#!/usr/bin/env bash
# Starts a private CUPS spooler in DIR, apart from any system spooler, with one
# queue, pachkaview-pdf, on the generic PDF printer writing each job to
# DIR/out/printed.pdf, and prints the CUPS_SERVER to use. Needs root and the
# cups and cups-filters packages.
#   tests/report_qt/cups-pdf-queue.sh start DIR   -> prints CUPS_SERVER
#   tests/report_qt/cups-pdf-queue.sh stop DIR
set -euo pipefail
cmd=${1:?start|stop}
dir=${2:?directory}
queue=pachkaview-pdf
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$dir/cupsd.pid"
  fi
}

if [ "$cmd" = stop ]; then
  stop
  exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "not root" >&2; exit 3; }
for f in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/bin/lpstat "$ppd"; do
  [ -e "$f" ] || { echo "missing $f" >&2; exit 3; }
done

mkdir -p "$dir"/{spool/tmp,cache,state,log,ppd,out}
# Filters run as an unprivileged user and the file is written by the spooler.
chmod 1777 "$dir/out"
chmod 755 "$dir"
sock="$dir/cups.sock"
cat >"$dir/cupsd.conf" <<CONF
Listen $sock
LogLevel warn
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice Yes
CONF

stop
/usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null >/dev/null 2>&1 &
echo $! >"$dir/cupsd.pid"
for _ in $(seq 50); do
  [ -S "$sock" ] && break
  sleep 0.1
done
[ -S "$sock" ] || { echo "cupsd did not start" >&2; exit 4; }
export CUPS_SERVER="$sock"
timeout 20 /usr/sbin/lpadmin -p "$queue" -E -v "file://$dir/out/printed.pdf" -P "$ppd"
timeout 10 /usr/sbin/lpadmin -d "$queue"
echo "$sock"
