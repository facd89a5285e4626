[playlist]
File1=a.mp3
Title1=X - Y
File2=file:///b.mp3
NumberOfEntries=2
