// The page's side of the game's sound, which WebAudioEngine.cpp calls by name: the siren as a Web
// Audio buffer, the tune through FluidSynth compiled to WebAssembly (js-synthesizer) in an audio
// worklet, each from the bytes that the program has read and checked. Every call returns at once;
// what the browser does later (decoding, loading the synthesizer) is chained on the player's
// promise, so that the commands take effect in the order they were given.
mergeInto(LibraryManager.library, {
    $TonovkaAudio: {
        context: null,
        players: {},
        synthesizer: null, // a promise of the one synthesizer, made with the first tune

        // One line in the console for a sound that stays silent; the game plays on.
        silent: function (player, why) {
            console.warn('Tonovka: player ' + player + ' stays silent: ' + why);
        },

        bytes: function (pointer, length) {
            return HEAPU8.slice(pointer, pointer + length).buffer;
        },

        // The synthesizer's part on the page's thread, loaded only when a tune first plays, so that
        // it takes nothing from the game's first screen.
        loadScript: function (url) {
            return new Promise(function (resolve, reject) {
                var script = document.createElement('script');
                script.src = url;
                script.onload = resolve;
                script.onerror = function () { reject(new Error(url + ' cannot be loaded')); };
                document.head.appendChild(script);
            });
        },

        // The files the page serves beside the program: the synthesizer and the tune's instruments.
        makeSynthesizer: function (gain, polyphony) {
            var context = TonovkaAudio.context;
            var files = Module['tonovkaSynthesizer'];
            return TonovkaAudio.loadScript(files.main)
                .then(function () { return context.audioWorklet.addModule(files.fluidSynth); })
                .then(function () { return context.audioWorklet.addModule(files.worklet); })
                .then(function () { return fetch(files.soundFont); })
                .then(function (response) {
                    if (!response.ok) throw new Error(files.soundFont + ': ' + response.status);
                    return response.arrayBuffer();
                })
                .then(function (soundFont) {
                    var synth = new JSSynth.AudioWorkletNodeSynthesizer();
                    synth.init(context.sampleRate);
                    var node = synth.createAudioNode(context, {
                        reverbActive: false, chorusActive: false, polyphony: polyphony });
                    node.connect(context.destination);
                    // FluidSynth, in the worklet, complains of the file functions that it lacks
                    // there and warns of every channel without an instrument of the tune's part
                    // of the soundfont; a sound that fails says so itself (silent, above).
                    synth.handleLoggingChanged(JSSynth.LogLevel.Error);
                    // The synthesizer takes its gain by a call only.
                    synth.setGain(gain);
                    return synth.loadSFont(soundFont).then(function () { return synth; });
                });
        },

        // Forgets the player's sound, stopping it first.
        release: function (player) {
            var p = TonovkaAudio.players[player];
            if (!p) return;
            delete TonovkaAudio.players[player];
            p.released = true;
            if (p.stop) p.stop();
        },
    },

    tonovka_audio_start__deps: ['$TonovkaAudio'],
    tonovka_audio_start: function () {
        var Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return 0;
        var context = new Context();
        TonovkaAudio.context = context;
        // The page closes the sounds when the game ends.
        window.tonovkaAudio = TonovkaAudio;
        // A page may sound only after the player's first click or key: the sounds already
        // started then begin.
        var events = ['pointerdown', 'keydown', 'touchend'];
        var resume = function () {
            context.resume().then(function () {
                if (context.state !== 'running') return;
                events.forEach(function (e) { window.removeEventListener(e, resume, true); });
            });
        };
        if (context.state !== 'running')
            events.forEach(function (e) { window.addEventListener(e, resume, true); });
        return 1;
    },

    tonovka_audio_load_wave__deps: ['$TonovkaAudio'],
    tonovka_audio_load_wave: function (player, pointer, length, gain) {
        TonovkaAudio.release(player);
        var context = TonovkaAudio.context;
        var p = { sounding: false };
        p.ready = context.decodeAudioData(TonovkaAudio.bytes(pointer, length)).then(function (buffer) {
            return function () {
                var source = context.createBufferSource();
                var level = context.createGain();
                source.buffer = buffer;
                level.gain.value = gain;
                source.connect(level).connect(context.destination);
                source.onended = function () { p.sounding = false; };
                p.stop = function () { source.onended = null; source.stop(); p.sounding = false; };
                source.start();
            };
        }, function (error) {
            TonovkaAudio.silent(player, 'the browser cannot decode the sound (' + error + ')');
            throw error;
        });
        TonovkaAudio.players[player] = p;
    },

    tonovka_audio_load_midi__deps: ['$TonovkaAudio'],
    tonovka_audio_load_midi: function (player, pointer, length, gain, polyphony) {
        TonovkaAudio.release(player);
        var tune = TonovkaAudio.bytes(pointer, length);
        var p = { sounding: false };
        if (!TonovkaAudio.synthesizer)
            TonovkaAudio.synthesizer = TonovkaAudio.makeSynthesizer(gain, polyphony);
        p.ready = TonovkaAudio.synthesizer.then(function (synth) {
            // One tune at a time, as one music stream holds one.
            return synth.resetPlayer().then(function () {
                return synth.addSMFDataToPlayer(tune);
            }).then(function () {
                return function (play) {
                    p.stop = function () {
                        synth.stopPlayer();
                        synth.midiSystemReset();
                        p.sounding = false;
                    };
                    synth.playPlayer().then(function () {
                        return synth.waitForPlayerStopped();
                    }).then(function () {
                        return synth.waitForVoicesStopped();
                    }).then(function () {
                        // A later play of the tune may be sounding by now.
                        if (!p.released && p.plays === play) p.sounding = false;
                    });
                };
            });
        }).catch(function (error) {
            TonovkaAudio.silent(player, 'the synthesizer cannot play the tune (' + error + ')');
            throw error;
        });
        TonovkaAudio.players[player] = p;
    },

    tonovka_audio_play__deps: ['$TonovkaAudio'],
    tonovka_audio_play: function (player) {
        var p = TonovkaAudio.players[player];
        if (!p) return;
        if (p.stop) p.stop();
        p.sounding = true;
        // Only the last play asked for starts, once the sound is ready.
        var play = p.plays = (p.plays || 0) + 1;
        p.ready.then(function (start) {
            if (!p.released && p.plays === play) start(play);
        }, function () {
            p.sounding = false;
        });
    },

    tonovka_audio_release__deps: ['$TonovkaAudio'],
    tonovka_audio_release: function (player) {
        TonovkaAudio.release(player);
    },

    tonovka_audio_is_sounding__deps: ['$TonovkaAudio'],
    tonovka_audio_is_sounding: function (player) {
        var p = TonovkaAudio.players[player];
        return p && p.sounding ? 1 : 0;
    },
});
