# Sourced: a private CUPS server, for the print-server test and the print
# benchmark. Its files live in one directory and clients reach it through a
# Unix-domain socket there (CUPS_SERVER), so the machine's own server and
# settings are never touched.

# Writes the server's two configuration files into DIR/conf and makes the
# directories they name.
#   private_cups_conf DIR SOCKET FILE_DEVICE [CUPSD_LINE...]
# FILE_DEVICE is Yes or No (whether queues may write to a file such as
# /dev/null); each CUPSD_LINE is added to cupsd.conf.
private_cups_conf() {
    local dir=$1 socket=$2 file_device=$3
    shift 3
    mkdir -p "$dir"/{conf,spool,spool/tmp,cache,state,log,ssl} || return 1
    cat >"$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerKeychain $dir/ssl
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
SystemGroup root
FileDevice $file_device
CONF
    {
        echo "Listen $socket"
        echo "Browsing No"
        echo "WebInterface No"
        echo "DefaultAuthType None"
        local line
        for line in "$@"; do echo "$line"; done
        cat <<'CONF'
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    } >"$dir/conf/cupsd.conf"
}

# Waits until the server started as PID answers on CUPS_SERVER.
#   private_cups_wait PID  -> 0 running, 1 exited, 2 no answer within 15 s
private_cups_wait() {
    local i
    for ((i = 0; ; i++)); do
        kill -0 "$1" 2>/dev/null || return 1
        [[ $(lpstat -r 2>/dev/null) == "scheduler is running" ]] && return 0
        ((i < 75)) || return 2
        sleep 0.2
    done
}
