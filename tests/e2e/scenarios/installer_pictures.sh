# The installer's pictures from a package: a JPEG behind the background
# window (stretched), a GIF promotion picture in the bottom-right corner at
# its own size, and a PCX side picture on the wizard's first page.
SETUP=$BUILD/installer/installer.exe
PKGBUILD=$BUILD/companions/pkgbuild/pkgbuild.exe
for f in "$SETUP" "$PKGBUILD"; do [ -f "$f" ] || skip "$(basename "$f") is not built"; done
command -v convert >/dev/null || skip "ImageMagick is not installed"

DIR=$WORK/$SCENARIO && cp -a "$ROOT/companions/pkgbuild/sample" "$DIR"
# Each picture has a top half and a bottom half of different colours, so a
# picture upside down shows.
halves() {  # W H TOP BOTTOM OUT [options]
  local w=$1 h=$2 top=$3 bottom=$4 out=$5; shift 5
  convert -size "${w}x$((h / 2))" "xc:$top" \( -size "${w}x$((h - h / 2))" "xc:$bottom" \) -append "$@" "$out"
}
halves 400 300 '#2080C0' '#C0A020' "$DIR/back.jpg" -quality 95
halves 96 64 '#E03020' '#20E0E0' "$DIR/promo.gif"
halves 143 265 '#30A040' '#2040C0' "$DIR/side.pcx" -type Palette
sed -i -e 's/^GradientOn .*/GradientOn        = 0/' \
       -e 's/^BackPictureOn .*/BackPictureOn     = 1\nBackPicture       = back.jpg/' \
       -e 's/^PromoImage .*/PromoImage        = promo.gif/' \
       -e 's/^PromoPlacement .*/PromoPlacement    = 8/' \
       -e 's/^SideImage .*/SideImage         = side.pcx/' \
       -e 's/^VisualStyleOn .*/VisualStyleOn     = 0/' "$DIR/demo.manifest"
cp "$DIR/demo.manifest" "$SCENARIO_ART/"
server_up
( cd "$DIR" && wine "$PKGBUILD" build demo.manifest -o demo.pkg ) >>"$SCENARIO_ART/app.log" 2>&1
[ -f "$DIR/demo.pkg" ] || { fail "pkgbuild made no package"; finish; }

app_start "$SETUP" "$(winepath -w "$DIR/demo.pkg")"
must drv wait-window WizardWindow 20000
must drv wait-window BackgroundWindow 5000
sleep 2
shot screen
shot wizard WizardWindow
S=$SCENARIO_ART/screen.png

# The colour at x,y of a screenshot as #RRGGBB.
pixel() { convert "$1" -crop "1x1+$2+$3" +repage -depth 8 -format '#%[hex:u.p{0,0}]' info: | cut -c1-7; }
# Colours match within a few steps per channel (JPEG is lossy).
near() {  # what expected actual
  local e=${2#\#} a=${3#\#} i d ok=1
  [ ${#a} -eq 6 ] || ok=0
  for i in 0 2 4; do
    [ $ok -eq 1 ] || break
    d=$(( 16#${e:$i:2} - 16#${a:$i:2} ))
    [ "${d#-}" -le 12 ] || ok=0
  done
  if [ $ok -eq 1 ]; then note "$1: $3"; else fail "$1: expected about $2, got $3"; fi
}
# The box around the pixels of a colour: "W H X Y", or nothing.
region() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -trim -format '%w %h %X %Y' info: 2>/dev/null |
    tr -d '+'
}

read -r SW SH < <(identify -format '%w %h' "$S")
# The background picture fills the screen: top colour at the top, bottom
# colour at the bottom, away from the wizard.
read -r ww wh wx wy < <(drv rect WizardWindow | sed 's/[x+]/ /g')
note "wizard at ${ww}x${wh}+$wx+$wy"
if [ $((wx + ww)) -lt $((SW - 20)) ] || [ "$wy" -gt 20 ]; then
  near "background top" '#2080C0' "$(pixel "$S" $((SW - 20)) 20)"
else
  near "background top" '#2080C0' "$(pixel "$S" 20 $((SH / 2 - 20)))"
fi
near "background bottom" '#C0A020' "$(pixel "$S" 20 $((SH - 20)))"
# The promotion picture sits in the bottom-right corner at 96 x 64.
near "promotion top" '#E03020' "$(pixel "$S" $((SW - 48)) $((SH - 60)))"
near "promotion bottom" '#20E0E0' "$(pixel "$S" $((SW - 48)) $((SH - 4)))"
near "left of the promotion" '#C0A020' "$(pixel "$S" $((SW - 100)) $((SH - 4)))"
near "above the promotion" '#C0A020' "$(pixel "$S" $((SW - 48)) $((SH - 68)))"
expect_eq "promotion picture, top half" "96 32 $((SW - 96)) $((SH - 64))" "$(region "$S" '#E03020')"
# The side picture, at its own size in the wizard, top half green.
W=$SCENARIO_ART/wizard.png
read -r gw gh gx gy <<<"$(region "$W" '#30A040')"
read -r bw bh bx by <<<"$(region "$W" '#2040C0')"
note "side picture: green ${gw}x${gh}+$gx+$gy, blue ${bw}x${bh}+$bx+$by"
# The frame beside it covers its last column from the second row on.
expect_eq "side picture width" "143" "$gw"
expect_eq "side picture halves" "132" "$gh"
if [ -n "$gy" ] && [ -n "$by" ]; then
  [ "$by" -eq $((gy + gh)) ] || fail "the blue half does not start below the green one"
  expect_eq "side picture left edges" "$gx" "$bx"
fi
near "side picture top-left" '#30A040' "$(pixel "$W" $((gx + 2)) $((gy + 2)))"
