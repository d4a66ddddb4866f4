vantrel-skin 1
[Window]
Background = rgb(1, 2, 3)
[BUTTON]
face=#ABCDEF
[font]
size = 9.5
weight = 600
face = Tahoma
