# The robot against the fixture dialog: every command on a real dialog under
# Wine, with the page's controls in a child dialog of the frame as in Setup. $FIXTURE is replaced with the fixture program's path by the test.
start $FIXTURE
wait-window "Robot Fixture" 30000
screenshot start
# What a person sees at first.
expect-text 1005 "アクションの選択"
expect-text 1006 "选择操作"
expect-text 1003 "ready"
expect-enabled 1000 no
expect-enabled 1 yes
expect-items 1004 "Varnoquill|Quillmark-200|Long model name of the family"
expect-selected 1004 ""
expect-combo-items 1011 "LPT1:|USB001|USB002"
expect-combo 1011 "USB002"
expect-checked 1018 yes
expect-checked 1019 no
expect-checked 1020 yes
expect-checked 1001 yes
expect-checked 1002 no
# Next with nothing selected: the error box, OK keeps the dialog.
click 1
wait-msgbox
expect-msgbox "No driver is selected yet!" "Error"
expect-msgbox "No driver is selected yet!"
expect-msgbox-buttons OK
screenshot no-selection
answer OK
expect-text 1003 "ready"
# Choices as a person makes them.
select-item 1004 "Quillmark-200"
select-item 1004 "Varnoquill"
deselect-item 1004 "Quillmark-200"
expect-selected 1004 "Varnoquill"
select-combo 1011 "USB001"
expect-combo 1011 "USB001"
check 1018 no
check 1019 yes
check 1019 yes
click 1002
expect-checked 1002 yes
expect-checked 1001 no
# The shell folder browser: cancelled, then a folder chosen.
click 1016
cancel-browse
expect-text 1015 "C:\\Varnoquill_Printer"
click 1016
wait-browser
screenshot folder-browser
browse-folder "C:\\windows"
expect-text 1015 "C:\\windows"
# Cancel in the confirmation keeps the dialog as it was.
click 1
wait-msgbox
expect-msgbox "Install the selected printer?" "Confirm"
expect-msgbox-buttons OK,Cancel
answer Cancel
expect-text 1003 "cancelled"
click 1
wait-msgbox
answer OK
expect-text 1003 "model=Varnoquill;selected=1;port=USB001;virtual=0;default=1;monitor=1;operation=1;folder=C:\\windows"
expect-text 1020 "Summary"
expect-enabled 1000 yes
wait-title "Robot Fixture: done"
screenshot confirmed
# Back: the choices afresh, on a new page that reuses the ids.
click 1000
expect-text 1003 "back"
expect-text 1020 "Enable status monitor"
expect-checked 1019 no
expect-checked 1001 yes
expect-text 1015 "C:\\Varnoquill_Printer"
expect-enabled 1000 no
wait-title "Robot Fixture"
click 2
wait-exit 2
