# Vantrel Desk Guard skin: dark greys, light text, a blue accent.
# To use it, copy this file to "x\o.cjs" in the program's folder and start the program.
vantrel-skin 1

[window]
background = #202124
text = #E8EAED

[frame]
background = #202124
text = #8AB4F8

[checkbox]
background = #202124
text = #E8EAED

[list]
background = #303134
text = #E8EAED

[status]
# The status line keeps its white background, so its text stays dark.
text = #1A1A1A
border = #5F6368

[button]
face = #1A73E8
text = #FFFFFF
hover = #4285F4
pressed = #1557B0
border = #8AB4F8

[font]
face = Segoe UI
size = 9
weight = bold
