#!/usr/bin/env bash
# Starts a private CUPS spooler in DIR with one queue, pachkaview-pdf, on the
# generic PDF printer, and prints the CUPS_SERVER to use. Needs root (the PDF
# backend runs as root) and the cups and printer-driver-cups-pdf packages.
#   tests/report_qt/cups-pdf-queue.sh start DIR   -> prints CUPS_SERVER
#   tests/report_qt/cups-pdf-queue.sh stop DIR
# PDF files land in the job owner's ~/PDF, as cups-pdf.conf sets.
set -euo pipefail
cmd=${1:?start|stop}
dir=${2:?directory}
queue=pachkaview-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    kill "$(cat "$dir/cupsd.pid")" 2>/dev/null || true
    rm -f "$dir/cupsd.pid"
  fi
}

if [ "$cmd" = stop ]; then
  stop
  exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "not root" >&2; exit 3; }
for f in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/bin/lpstat /usr/lib/cups/backend/cups-pdf "$ppd"; do
  [ -e "$f" ] || { echo "missing $f" >&2; exit 3; }
done

mkdir -p "$dir"/{spool/tmp,cache,state,log,ppd}
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
timeout 20 /usr/sbin/lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
timeout 10 /usr/sbin/lpadmin -d "$queue"
echo "$sock"
