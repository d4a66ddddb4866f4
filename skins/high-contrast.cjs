; Vantrel Desk Guard skin: black background, yellow and white text, strong borders.
; To use it, copy this file to "x\o.cjs" in the program's folder and start the program.
vantrel-skin 1

[window]
background = #000000
text = #FFFFFF

[frame]
background = #000000
text = #FFFF00

[checkbox]
background = #000000
text = #FFFF00

[list]
background = rgb(0, 0, 0)
text = rgb(255, 255, 255)

[status]
; White background (set by the program), so black text and a black border.
text = #000000
border = #000000

[button]
face = #000000
text = #FFFF00
hover = #1A1A1A
pressed = #00007F
border = #FFFFFF

[font]
face = Arial
; The window is laid out for 9 pt: larger text would be cut off in the check boxes.
size = 9
weight = 800
