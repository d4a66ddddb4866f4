# only a comment
; and another

face = x
[status
