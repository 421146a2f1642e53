# An ordinary user and the keyboard's node: refused without the udev rule, with the node and
# the fix in the message; with Varnok's rule applied by udev the user saves. The rule gives
# the node to the local seat (uaccess), and this machine has no logind seat, so the tag is
# checked and the rule's documented fallback for machines without seats (group plugdev) is
# what the user saves through.
start_keyboard kbd
node=$(node_of kbd)
user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
mkdir -p "$WORK/nobody"
chown nobody "$WORK/nobody"
as_user() { "${user[@]}" env HOME="$WORK/nobody" XDG_DATA_HOME="$WORK/nobody/data" \
    XDG_CONFIG_HOME="$WORK/nobody/config" "$cli" "$@"; }

step "without the rule: $(stat -c '%U:%G %a' "$node") on $node"
expect 0 as_user set 1 Ctrl+C
expect 1 as_user save
cat err
said "$node"
said 70-varnok.rules
[ -z "$(sets kbd)" ] || fail "the refused user reached the keyboard"

step "the refused user's window says so on its status line, in English and in Chinese"
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$WORK" 3>display 2>xvfb.err &
xvfb=$!
for _ in $(seq 100); do [ -s display ] && break; sleep 0.1; done
mkdir -p "$WORK/nobody/config/brelmoth"
chown -R nobody "$WORK/nobody"
for language in 0 1; do
    printf '[Settings]\nkeyLan=%s\n' "$language" >"$WORK/nobody/config/brelmoth/varnok.conf"
    "${user[@]}" env HOME="$WORK/nobody" XDG_DATA_HOME="$WORK/nobody/data" \
        XDG_CONFIG_HOME="$WORK/nobody/config" XDG_RUNTIME_DIR="$WORK/nobody" \
        DISPLAY=":$(cat display)" QT_QPA_PLATFORM=xcb "$VARNOK_BUILD/varnok" >window.out 2>&1 &
    window=$!
    for _ in $(seq 600); do
        DISPLAY=":$(cat display)" xdotool search --name "^Varnok Keyboard" >/dev/null 2>&1 && break
        sleep 0.1
    done
    # The window looks for the keyboard as it opens.
    sleep 3
    kill -0 "$window" 2>/dev/null || fail "the window ended: $(cat window.out)"
    cp "$WORK/Xvfb_screen0" "$VARNOK_RESULTS/window-refused-$language.xwd"
    kill "$window"
    wait "$window" 2>/dev/null || true
done
kill "$xvfb"
[ -z "$(sets kbd)" ] || fail "the refused user's window reached the keyboard"

step "the rule as installed, applied by udev: the node is tagged for the seat"
# The scenarios run chrooted into the host's root; udev's tools do their work there only when
# told that this is meant.
export SYSTEMD_IGNORE_CHROOT=1
mkdir -p /run/udev/rules.d
cp "$VARNOK_ROOT/resources/udev/70-varnok.rules" /run/udev/rules.d/
/lib/systemd/systemd-udevd --daemon
udevadm trigger --subsystem-match=hidraw --action=add
udevadm settle --timeout=30
udevadm info "$node" | tee udev-info
grep -q '^E: \(CURRENT_\)\?TAGS=.*:uaccess:' udev-info || fail "udev did not tag $node for uaccess"
echo "without a logind seat the node stays $(stat -c '%U:%G %a' "$node")"

step "the rule's fallback for machines without seats: group plugdev"
sed '/^[^#]/ s/TAG+="uaccess"/GROUP="plugdev", MODE="0660"/' \
    "$VARNOK_ROOT/resources/udev/70-varnok.rules" >/run/udev/rules.d/70-varnok.rules
grep -q 'GROUP="plugdev"' /run/udev/rules.d/70-varnok.rules || fail "the rule has no uaccess line to replace"
udevadm control --reload
udevadm trigger --subsystem-match=hidraw --action=add
udevadm settle --timeout=30
[ "$(stat -c '%G %a' "$node")" = "plugdev 660" ] || fail "udev left $node $(stat -c '%U:%G %a' "$node")"
user=(setpriv --reuid=nobody --regid=nogroup --groups=plugdev)
expect 0 as_user save --verify
records kbd.txt | grep -qx '01 08 01 01 00 06 00 00 00 00 FF' || fail "key 1 did not arrive: $(records kbd.txt)"
udevadm control --exit
