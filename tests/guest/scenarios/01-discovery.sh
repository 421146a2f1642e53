# Finding the keyboard on the kernel's hidraw nodes: through the collection that carries the
# 8-byte configuration reports, past a node with the ids but without it, the first of two in
# the kernel's order, and behind the three-collection descriptor.
chord='01 08 01 01 00 06 00 00 00 00 FF'

step "a node with the keyboard's ids but no 8-byte collection, then the keyboard"
start_keyboard plain --descriptor no-configuration
start_keyboard kbd
plain=$(node_of plain)
kbd=$(node_of kbd)
expect 0 "$cli" list
cat out
grep -F "$kbd" out | grep -q 'collection 1' || fail "list does not name $kbd and its collection 1: $(cat out)"
expect 0 "$cli" set 1 Ctrl+C
expect 0 "$cli" save
records kbd.txt | grep -qx "$chord" || fail "the keyboard did not get key 1: $(records kbd.txt)"
[ -z "$(sets plain)" ] || fail "the node without the configuration collection got reports: $(sets plain)"

step "two keyboards: the first in the kernel's order ($kbd, then a new one) is taken"
start_keyboard second
expect 0 "$cli" set 2 Ctrl+V
expect 0 "$cli" save
records kbd.txt | grep -q '^02 08 01 01 00 19 ' || fail "the first keyboard did not get key 2: $(records kbd.txt)"
[ -z "$(sets second)" ] || fail "the second keyboard got reports: $(sets second)"

step "the node freed by the first device goes to a new keyboard, which is now the first"
stop_keyboard plain
gone plain
start_keyboard third
third=$(node_of third)
[ "$third" = "$plain" ] || fail "the kernel gave the new keyboard $third, not $plain"
kbd_sets=$(sets kbd | wc -l)
expect 0 "$cli" save
[ "$(sets kbd | wc -l)" = "$kbd_sets" ] || fail "$kbd got reports though $third comes first"
records third.txt | grep -q '^02 08 01 01 00 19 ' || fail "$third did not get the keys: $(records third.txt)"
stop_keyboard kbd
stop_keyboard second
stop_keyboard third

step "the three-collection descriptor: the second collection qualifies"
start_keyboard tri --descriptor three-collections
tri=$(node_of tri)
expect 0 "$cli" list
cat out
grep -F "$tri" out | grep -q 'collection 1' || fail "list does not name $tri and its collection 1: $(cat out)"
expect 0 "$cli" save --verify
records tri.txt | grep -q '^02 08 01 01 00 19 ' || fail "$tri did not get the keys: $(records tri.txt)"
