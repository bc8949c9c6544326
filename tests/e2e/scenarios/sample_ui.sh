# The sample program's window: Chinese texts read back exactly, a pick, a
# click that changes a label, a group box that disables its children, a key
# swallowed by the program, a message box answered, a timer, the close box.
app_start "$SAMPLE"
must drv wait-window SampleWindow 20000
expect_eq caption "示例窗口" "$(drv caption SampleWindow)"
expect_text SampleWindow TitleLabel "欢迎使用称重板测试工具"
expect_text SampleWindow NameEdit "张三"
expect_text SampleWindow ResultLabel "尚未点击"
expect_eq "ChoiceCombo items" "$(printf '甲方案\n乙方案\n丙方案')" "$(drv items SampleWindow ChoiceCombo)"
expect_eq "ChoiceCombo selection" "-1 " "$(drv selected SampleWindow ChoiceCombo)"
drv wait-text SampleWindow TickLabel "计时：3" 10000 || fail "the timer did not tick three times"
shot start SampleWindow

must drv pick SampleWindow ChoiceCombo "乙方案"
expect_eq "ChoiceCombo selection" "1 乙方案" "$(drv selected SampleWindow ChoiceCombo)"
expect_text SampleWindow ChoiceCombo "乙方案"
drv wait-text SampleWindow ResultLabel "已选：乙方案（22）" 5000 || fail "the pick did not reach the program"

must drv settext SampleWindow NameEdit ""
must drv type SampleWindow NameEdit "李四#"
expect_text SampleWindow NameEdit "李四"
must drv click SampleWindow OptionCheck
must drv click SampleWindow GoButton
drv wait-text SampleWindow ResultLabel "你好，李四，选项开" 5000 || fail "the click did not change ResultLabel"
shot clicked SampleWindow

expect_enabled SampleWindow GroupButton 1
must drv click SampleWindow ToggleGroupButton
sleep 0.3
expect_enabled SampleWindow GroupButton 0
drv click SampleWindow GroupButton 2>/dev/null && fail "a button of a disabled group took a click"

must drv click SampleWindow AskButton
box=$(drv box 10000) || fail "no message box"
expect_eq "message box" "$(printf '询问\n是否继续？')" "$box"
shot question box
must drv answer yes
drv wait-text SampleWindow ResultLabel "回答：是" 5000 || fail "the answer did not reach the program"

# Tab pages switched by the program: only the current page's controls show.
expect_eq "first page label visible" 1 "$(drv visible SampleWindow FirstPageLabel)"
expect_eq "second page label visible" 0 "$(drv visible SampleWindow SecondPageLabel)"
must drv click SampleWindow NextPageButton
sleep 0.3
expect_eq "first page label visible" 0 "$(drv visible SampleWindow FirstPageLabel)"
expect_eq "second page label visible" 1 "$(drv visible SampleWindow SecondPageLabel)"
expect_text SampleWindow SecondPageLabel "这是第二页"
shot second_page SampleWindow

# A modal window: its owner takes no input until it is gone.
must drv click SampleWindow ModalButton
must drv wait-window SampleDialog 10000
expect_eq "owner enabled under the modal window" 0 "$(drv enabled SampleWindow)"
expect_text SampleDialog DialogLabel "模态对话框"
shot dialog SampleDialog
must drv click SampleDialog DialogCloseButton
must drv wait-gone SampleDialog 10000
drv wait-text SampleWindow ResultLabel "对话框已关闭" 5000 || fail "showModal did not return"
expect_eq "owner enabled again" 1 "$(drv enabled SampleWindow)"

must drv close SampleWindow
app_wait_exit 20
