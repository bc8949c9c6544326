# Visual style 2 paints the window in its colour scheme; without a style the
# window keeps the system colours.
pixel() {  # png x y -> "r,g,b"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
app_start "$SAMPLE" --style 2
must drv wait-window SampleWindow 20000
sleep 0.5
shot style2 SampleWindow
# A point of the window's own background, right of the check box row.
expect_eq "background in style 2" "222,236,214" "$(pixel "$SCENARIO_ART/style2.png" 440 300)"
must drv close SampleWindow
app_wait_exit 20

app_start "$SAMPLE" --style 9
must drv wait-window SampleWindow 20000
sleep 0.5
shot style9 SampleWindow
[ "$(pixel "$SCENARIO_ART/style9.png" 440 300)" != "222,236,214" ] || fail "style 9 is not the standard look"
must drv close SampleWindow
app_wait_exit 20
